// Which native class stands behind the objects of a script class.
//
// The engine tags every wrapper with its class's native type, and the call
// routers refuse a receiver whose tag is not the one they were built for, so
// a foreign native pointer is never cast to the wrong class.
#ifndef BRIDGE_NATIVE_CLASS_H
#define BRIDGE_NATIVE_CLASS_H

namespace Bridge {

template <class U>
const void* NativeTypeTag()
{
    static const char s_cTag = 0;
    return &s_cTag;
}

class NativeClassRegistry {
public:
    static void Register(const char* pszScriptClassName, const void* pTag);
    // Null for a class that declared no native type.
    static const void* Lookup(const char* pszScriptClassName);
};

struct NativeClassDeclaration {
    NativeClassDeclaration(const char* pszScriptClassName, const void* pTag)
    {
        NativeClassRegistry::Register(pszScriptClassName, pTag);
    }
};

}  // namespace Bridge

// Declares, at namespace scope in the plug-in, the native type that a script
// class's objects hold.
#define BRIDGE_NATIVE_CLASS_JOIN2(a, b) a##b
#define BRIDGE_NATIVE_CLASS_JOIN(a, b) BRIDGE_NATIVE_CLASS_JOIN2(a, b)
#define BRIDGE_NATIVE_CLASS(pszScriptClassName, NativeType)                          \
    static const ::Bridge::NativeClassDeclaration BRIDGE_NATIVE_CLASS_JOIN(          \
        s_nativeClassDeclaration, __LINE__)(pszScriptClassName,                      \
                                            ::Bridge::NativeTypeTag<NativeType>())

#endif
