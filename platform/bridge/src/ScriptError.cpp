#include "Bridge/ScriptError.h"

#include "Bridge/ScriptExceptionPending.h"

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

KiteJsException::KiteJsException(const std::string& strMessage) : KiteException(strMessage) {}
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

ScriptError::ScriptError(EKind eKind, const std::string& strMessage)
    : KiteJsRuntimeException(strMessage.c_str()), m_eKind(eKind)
{
}

}  // namespace Bridge
