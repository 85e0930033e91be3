// Enters the isolate's attached context for the scope when the thread has
// none entered, so script values can be made from the main loop as well as
// from callbacks.
#ifndef BRIDGE_SCRIPT_CONTEXT_SCOPE_H
#define BRIDGE_SCRIPT_CONTEXT_SCOPE_H

#include <optional>
#include <v8.h>

namespace Bridge {

class CScriptContextScope {
public:
    // The caller must hold a handle scope.
    explicit CScriptContextScope(v8::Isolate* pIsolate);
    v8::Local<v8::Context> context() const { return m_context; }
    bool valid() const { return !m_context.IsEmpty(); }

private:
    v8::Local<v8::Context> m_context;
    std::optional<v8::Context::Scope> m_scope;
};

}  // namespace Bridge

#endif
