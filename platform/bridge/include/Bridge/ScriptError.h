// What natives throw when they fail, kept apart from how a failure reaches
// the script (Bridge/KiteException.h) so that the text conversion, which
// throws ScriptError, needs nothing of the script's side.
#ifndef BRIDGE_SCRIPT_ERROR_H
#define BRIDGE_SCRIPT_ERROR_H

#include <exception>
#include <string>

class KiteException : public std::exception {
public:
    explicit KiteException(const std::string& strMessage = std::string());
    virtual ~KiteException() noexcept;
    virtual const char* what() const noexcept;
    virtual const char* msg() const noexcept;

private:
    std::string m_strMessage;
};

class KiteJsException : public KiteException {
public:
    explicit KiteJsException(const std::string& strMessage = std::string());
    virtual ~KiteJsException() noexcept;
};

class KiteJsRuntimeException : public KiteJsException {
public:
    explicit KiteJsRuntimeException(char const* pszMessage);
    virtual ~KiteJsRuntimeException() noexcept;
};

namespace Bridge {

// A native's refusal that the script sees as an exception of the given
// kind; a plain KiteJsRuntimeException becomes an Error.
class ScriptError : public KiteJsRuntimeException {
public:
    enum EKind { ERROR, TYPE_ERROR, RANGE_ERROR };
    ScriptError(EKind eKind, const std::string& strMessage);
    EKind Kind() const { return m_eKind; }

private:
    EKind m_eKind;
};

}  // namespace Bridge

#endif
