#include "Bridge/KiteException.h"

KiteException::KiteException(const std::string& strMessage) : m_strMessage(strMessage) {}
KiteException::~KiteException() noexcept {}

const char* KiteException::what() const noexcept
{
    return m_strMessage.c_str();
}

const char* KiteException::msg() const noexcept
{
    return m_strMessage.c_str();
}

KiteJsException::KiteJsException(const std::string& strMessage)
    : KiteException(strMessage), m_iLineNumber(0), m_iColumn(0)
{
}
KiteJsException::~KiteJsException() noexcept {}

KiteJsRuntimeException::KiteJsRuntimeException(char const* pszMessage)
    : KiteJsException(pszMessage != nullptr ? std::string(pszMessage) : std::string())
{
}
KiteJsRuntimeException::~KiteJsRuntimeException() noexcept {}

namespace Bridge {

const char* ScriptExceptionPending::what() const noexcept
{
    return "a script exception is pending";
}

}  // namespace Bridge
