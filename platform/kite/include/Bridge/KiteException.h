// The exceptions of the engine's bridge layer.
#ifndef BRIDGE_KITE_EXCEPTION_H
#define BRIDGE_KITE_EXCEPTION_H

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

private:
    // Script location details; nothing in this engine fills or reads them yet.
    std::string m_strFileName;
    std::string m_strSourceLine;
    int m_iLineNumber;
    int m_iColumn;
    std::string m_strStackTrace;
};

class KiteJsRuntimeException : public KiteJsException {
public:
    explicit KiteJsRuntimeException(char const* pszMessage);
    virtual ~KiteJsRuntimeException() noexcept;
};

namespace Bridge {

// Thrown when a script operation raised an exception that V8 already holds
// as pending: callers unwind and return to V8, which then throws it on.
class ScriptExceptionPending : public std::exception {
public:
    const char* what() const noexcept override;
};

}  // namespace Bridge

#endif
