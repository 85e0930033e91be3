// How a script value's operation fails: the script threw (a getter, a proxy
// trap, a ToString) and V8 already holds the exception. Callers unwind and
// return to V8, which then throws it on. The rest of the engine's exceptions
// are in Bridge/ScriptError.h.
#ifndef BRIDGE_SCRIPT_EXCEPTION_PENDING_H
#define BRIDGE_SCRIPT_EXCEPTION_PENDING_H

#include <exception>

namespace Bridge {

class ScriptExceptionPending : public std::exception {
public:
    const char* what() const noexcept override;
};

}  // namespace Bridge

#endif
