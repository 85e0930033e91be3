// Which native class stands behind the objects of a script class.
//
// The engine tags every wrapper with its class, and the call routers refuse
// a receiver whose class does not hold the native type they were built for,
// so a foreign native pointer is never cast to the wrong class.
//
// A plug-in declares the script class of each native type outside any
// namespace, where every file that binds methods or properties of the type
// sees it first (a header beside the type, or above the bindings):
//     BRIDGE_NATIVE_CLASS("Clock", Example::CClock);
// A binding of an undeclared type does not compile. The declaration is a
// constant: nothing of it runs when the plug-in is loaded.
#ifndef BRIDGE_NATIVE_CLASS_H
#define BRIDGE_NATIVE_CLASS_H

namespace Bridge {

struct NativeType {
    // Null for a type that no declaration names.
    const char* m_pszScriptClassName;
};

template <class U>
struct NativeTypeOf {
    static constexpr NativeType s_type{nullptr};
};

// What the routers for native type U look for.
template <class U>
const void* NativeTypeTag()
{
    static_assert(NativeTypeOf<U>::s_type.m_pszScriptClassName != nullptr,
                  "declare the native type's script class with BRIDGE_NATIVE_CLASS first");
    // Before C++17 the declaration's member has no address without a
    // definition of its own, which a header cannot give: the tag is a copy.
    static const NativeType s_tag{NativeTypeOf<U>::s_type.m_pszScriptClassName};
    return &s_tag;
}

}  // namespace Bridge

#define BRIDGE_NATIVE_CLASS(pszScriptClassName, NativeT) \
    template <>                                          \
    struct Bridge::NativeTypeOf<NativeT> {               \
        static constexpr ::Bridge::NativeType s_type{pszScriptClassName}; \
    }

#endif
