// Builds a script class from its native class T, in mapScriptInterface:
//
//   void mapScriptInterface(ScriptContext& context) override
//   {
//       Bridge::ClassBuilder<CClock>(*this, context)
//           .method<&CClock::Start>("start")       // ScriptObject (T::*)(const ScriptArray&)
//           .method<&Ticks>("ticks")               // ScriptObject (*)(T*, const ScriptArray&)
//           .callback<&CClock::set_ontick>("ontick");
//   }
//
// Methods go on the prototype, routed by functionCallRouter; callback
// properties on the instances, with no getter and setJSFunction as setter.
// T is declared with BRIDGE_NATIVE_CLASS; the builder ties the class to T
// in the isolate, so the routers refuse any other receiver.
// Bridge::ClassBridge<T> adds the constructor: new T(args) when T takes the
// script's arguments, else new T.
#ifndef BRIDGE_CLASS_BUILDER_H
#define BRIDGE_CLASS_BUILDER_H

#include <type_traits>

#include "Bridge/ScriptBridge.h"

namespace Bridge {

// What ClassBuilder does whatever the native type; its code is in the
// library, not in each plug-in.
class ClassBuilderBase {
protected:
    // Ties the bridge's class in the current isolate to the native type.
    ClassBuilderBase(ScriptBridge& bridge, ScriptBridge::ScriptContext& context, const void* pNativeType);

    void addMethod(const char* pszName, v8::FunctionCallback router);
    void addCallback(const char* pszName, v8::AccessorSetterCallback setter);

private:
    v8::Isolate* m_pIsolate;
    ScriptBridge::ScriptContext& m_context;
};

template <class T>
class ClassBuilder : private ClassBuilderBase {
public:
    ClassBuilder(ScriptBridge& bridge, ScriptBridge::ScriptContext& context)
        : ClassBuilderBase(bridge, context, NativeTypeTag<T>())
    {
    }

    template <ScriptObject (T::*Method)(const ScriptArray&)>
    ClassBuilder& method(const char* pszName)
    {
        addMethod(pszName, &ScriptBridge::functionCallRouter<T, &CallMember<Method>, T>);
        return *this;
    }

    template <ScriptObject (*Handler)(T*, const ScriptArray&)>
    ClassBuilder& method(const char* pszName)
    {
        addMethod(pszName, &ScriptBridge::functionCallRouter<T, Handler, T>);
        return *this;
    }

    // A property that stores what a script assigns to it; reading it yields
    // undefined.
    template <void (T::*Setter)(const ScriptFunction&)>
    ClassBuilder& callback(const char* pszName)
    {
        addCallback(pszName, &ScriptBridge::setJSFunction<T, Setter, T>);
        return *this;
    }

private:
    template <ScriptObject (T::*Method)(const ScriptArray&)>
    static ScriptObject CallMember(T* pNative, const ScriptArray& aArgs)
    {
        return (pNative->*Method)(aArgs);
    }
};

// The bridge of a script class whose objects each hold one T, made by the
// constructor and deleted when the object goes; mapScriptInterface is the
// subclass's, with a ClassBuilder<T>.
template <class T>
class ClassBridge : public ScriptBridge {
public:
    explicit ClassBridge(const char* pszScriptClassName) : m_pszScriptClassName(pszScriptClassName) {}

    const char* getScriptClassName() const override { return m_pszScriptClassName; }
    void* constructFromScript(const ScriptArray& aArgs) override
    {
        if constexpr (std::is_constructible<T, const ScriptArray&>::value)
            return new T(aArgs);
        else
            return new T;
    }
    void destroyFromScript(void* pNative) override { delete static_cast<T*>(pNative); }

private:
    const char* m_pszScriptClassName;
};

}  // namespace Bridge

#endif
