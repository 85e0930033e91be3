// The base class of the native classes that plug-ins expose to scripts, with
// the glue templates that bind their methods and properties.
#ifndef BRIDGE_SCRIPT_BRIDGE_H
#define BRIDGE_SCRIPT_BRIDGE_H

#include <string>
#include <v8.h>

#include "Bridge/Arguments.h"
#include "Bridge/KiteException.h"
#include "Bridge/NativeCallScope.h"
#include "Bridge/NativeClass.h"
#include "Bridge/ScriptArray.h"
#include "Bridge/ScriptFunction.h"
#include "Bridge/ScriptObject.h"
#include "Bridge/SdkAbi.h"
#include "Bridge/V8Compat.h"

namespace Bridge {

v8::Local<v8::String> StringToV8(std::string strText);

class ScriptBridge {
public:
    struct ScriptContext {
        v8::Local<v8::ObjectTemplate> m_hInstanceTemplate;  // accessors
        v8::Local<v8::Template> m_hPrototypeTemplate;       // methods
    };

    ScriptBridge();
    virtual ~ScriptBridge();

    // Installs the class constructor on a global template, or on the global
    // object of a live context; the class is built on first use.
    virtual void bridgeTo(v8::Local<v8::ObjectTemplate> globalTemplate);
    virtual void bridgeTo(v8::Local<v8::Object> globalObject);
    // Told, in the context, once the class is installed on its global object.
    virtual void contextReady() {}
    virtual const char* getScriptClassName() const = 0;
    virtual void mapScriptInterface(ScriptContext& context) = 0;
    virtual void* constructFromScript(const ScriptArray& args) = 0;
    virtual void destroyFromScript(void* pNative) = 0;

    // The class's constructor template in the current isolate, built (with
    // mapScriptInterface) on the first call there. The host attaches the
    // isolate first; in one it has not, constructing throws.
    v8::Local<v8::FunctionTemplate> GetConstructorTemplate();
    // Ties the class's objects in the current isolate to the natives of the
    // type that NativeTypeTag gave, for the routers built for that type;
    // without it the first such router ties the type declared for the
    // class's name. False when the class holds another type or the isolate
    // is not attached.
    bool tieNativeType(const void* pNativeType);

    static void* extractRaw(v8::Local<v8::Object> object);

    // The native of an object of a class whose natives are of type U (the
    // type its BRIDGE_NATIVE_CLASS declares), as a T, a class U derives from
    // or U itself. Null for an object of any other class, a plain object
    // and an empty handle. Throws KiteJsRuntimeException "Attempt to access
    // destroyed JavaScript object." for an object whose native was
    // destroyed (kite.destroy, the engine's detach). Inside a router of
    // the library that becomes the script's Error; in a V8 callback of the
    // plug-in's own (a getter, say) run it within GuardNative
    // (Bridge/KiteException.h), for an exception that leaves a V8 callback
    // ends the process.
    template <class T, class U>
    static T* extract(v8::Local<v8::Object> object)
    {
        return static_cast<T*>(static_cast<U*>(extractTagged(object, NativeTypeTag<U>())));
    }

    // extract, with KiteJsRuntimeException "Attempt to pass a JSObject as a
    // native object" where extract answers null.
    template <class T, class U>
    static T* extractNoNull(v8::Local<v8::Object> object)
    {
        void* pRaw = extractTagged(object, NativeTypeTag<U>());
        if (pRaw == nullptr)
            throw KiteJsRuntimeException("Attempt to pass a JSObject as a native object");
        return static_cast<T*>(static_cast<U*>(pRaw));
    }

    // A method of the class: Handler runs on the receiver's native, and its
    // result is the call's value. The work around the call is the
    // library's (RouteCall).
    template <class T, ScriptObject (*Handler)(T*, const ScriptArray&), class U>
    static void functionCallRouter(const v8::FunctionCallbackInfo<v8::Value>& info)
    {
        RouteCall(info, NativeTypeTag<U>(), &CallNative<T, Handler, U>);
    }

    // A callback property's setter: Setter runs on the receiver's native
    // with what was assigned; whatever it throws becomes the script's
    // exception.
    template <class T, void (T::*Setter)(const ScriptFunction&), class U>
    static void setJSFunction(v8::Local<v8::String> name, v8::Local<v8::Value> value,
                              const v8::PropertyCallbackInfo<void>& info)
    {
        try {
            T* pNative = extractNoNull<T, U>(info.This());
            NativeCallScope call(static_cast<U*>(pNative));
            ScriptFunction function(value.As<v8::Function>());
            (pNative->*Setter)(function);
        } catch (...) {
            RaiseCaught(info.GetIsolate(), NativeTypeTag<U>(), name);
        }
    }

private:
    friend class ClassBuilderBase;  // its routers find receivers and raise as these do

    typedef ScriptObject (*NativeCall)(void* pNative, const ScriptArray& args);

    template <class T, ScriptObject (*Handler)(T*, const ScriptArray&), class U>
    static ScriptObject CallNative(void* pNative, const ScriptArray& args)
    {
        return Handler(static_cast<T*>(static_cast<U*>(pNative)), args);
    }
    // ThrowCaughtInScript inside a catch block of a router of the class
    // whose natives are of the type that NativeTypeTag gave, naming its
    // member (a string; the class alone for any other value).
    static v8::Local<v8::Value> RaiseCaught(v8::Isolate* pIsolate, const void* pNativeType,
                                            v8::Local<v8::Value> member) noexcept;
    // Finds the receiver's native of the type that NativeTypeTag gave, keeps
    // it alive for the call, calls it and answers its result; a failure
    // becomes the script's exception.
    static void RouteCall(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType, NativeCall call);
    // extractRaw for an object of a class whose natives are of the type
    // that NativeTypeTag gave; null for any other object.
    static void* extractTagged(v8::Local<v8::Object> object, const void* pNativeType);
    // The same inside a V8 callback, whose handle scope it uses.
    static void* extractTaggedInCall(v8::Isolate* pIsolate, v8::Local<v8::Object> object, const void* pNativeType);

    ScriptBridge(const ScriptBridge&) = delete;
    ScriptBridge& operator=(const ScriptBridge&) = delete;
};

}  // namespace Bridge

#endif
