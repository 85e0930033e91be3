// Keeps the native behind a script object alive while one of its methods or
// property setters runs.
//
// A script may destroy an object (or ask for anything else) from a getter, a
// proxy trap or a function that a running call reaches. The object then
// reads as destroyed at once, but its native is destroyed only when the
// outermost call that is using it returns, so no running call is left
// holding a freed native.
#ifndef BRIDGE_NATIVE_CALL_SCOPE_H
#define BRIDGE_NATIVE_CALL_SCOPE_H

namespace Bridge {

class NativeCallScope {
public:
    // pNative is the pointer held in internal field 0 of the receiver.
    explicit NativeCallScope(void* pNative);
    // Destroys the native when a destruction was asked for meanwhile and no
    // other call is using it.
    ~NativeCallScope();

private:
    NativeCallScope(const NativeCallScope&) = delete;
    NativeCallScope& operator=(const NativeCallScope&) = delete;

    void* m_pTracked;
};

}  // namespace Bridge

#endif
