// Builds a script class from its native class T, in mapScriptInterface:
//
//   void mapScriptInterface(ScriptContext& context) override
//   {
//       Bridge::ClassBuilder<CStore>(*this, context)
//           .method<&CStore::Add>("add")                  // int CStore::Add(int, const std::string&)
//           .getter<&CStore::Size>("size")                // int CStore::Size() const
//           .property<&CStore::Name, &CStore::SetName>("name")
//           .property<&CStore::OnSaved, &CStore::SetOnSaved>("onsaved")  // a ScriptFunction
//           .value("VERSION", std::string("1.0"))
//           .staticMethod<&CStore::Open>("open")          // static, no receiver
//           .staticValue("LIMIT", 100);
//   }
//
// Typed members: the builder converts each argument with Converter<A> of
// its parameter type (Bridge/Converter.h; ScriptObject takes any value,
// ScriptFunction a function, null or undefined) and the result with
// Converter<R> (void is undefined). A member is a member function of T, a
// function taking T* first, or for staticMethod a plain function. What the
// script does wrong is a TypeError naming class and member:
//   "Store.add: argument 2 must be a string"
//   "Store.add: needs 2 arguments, got 1"          (more are ignored)
//   "Store.onsaved: the value must be a function, null or undefined"
//   "Illegal invocation: Store.add on an object that is not a Store"
// Getters and setters are accessors of the prototype, as the script's own
// classes have them; a getter without setter is read-only. Values are
// read-only data properties of the prototype (value) or of the constructor
// (staticValue): an int, a double, a boolean or a text.
//
// The list forms are the routers that Tether's own classes use, with their
// texts ("Cannot call native method without object instance") and no
// conversion:
//           .method<&CClock::Start>("start")       // ScriptObject (T::*)(const ScriptArray&)
//           .method<&Ticks>("ticks")               // ScriptObject (*)(T*, const ScriptArray&)
//           .callback<&CClock::set_ontick>("ontick");
// callback makes a property of the instances that hands whatever is
// assigned to the setter and reads as undefined.
//
// A callback property (callback, or a property of a ScriptFunction) is
// kept by the script object; its setter gets a weak ScriptFunction
// (Bridge/ScriptFunction.h), which holds the function while the object
// does. A function that closes over its own object is then collected with
// it.
//
// T is declared with BRIDGE_NATIVE_CLASS; the builder ties the class to T
// in the isolate, so the routers refuse any other receiver. Whatever a
// native throws becomes the script's exception (Bridge/KiteException.h).
// Bridge::ClassBridge<T> adds the constructor: new T(args) when T takes the
// script's arguments, else new T.
#ifndef BRIDGE_CLASS_BUILDER_H
#define BRIDGE_CLASS_BUILDER_H

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "Bridge/Converter.h"
#include "Bridge/ScriptBridge.h"

namespace Bridge {

// What ClassBuilder does whatever the native type; its code is in the
// library, not in each plug-in.
class ClassBuilderBase {
protected:
    // Ties the bridge's class in the current isolate to the native type.
    ClassBuilderBase(ScriptBridge& bridge, ScriptBridge::ScriptContext& context, const void* pNativeType);

    enum EPlace { PROTOTYPE, CONSTRUCTOR };
    // Each router's data is the member's name, which its messages give.
    void addMethod(const char* pszName, v8::FunctionCallback router) { addFunction(PROTOTYPE, pszName, router); }
    void addFunction(EPlace ePlace, const char* pszName, v8::FunctionCallback router);
    void addCallback(const char* pszName, v8::AccessorSetterCallback setter);
    // setter null: read-only.
    void addAccessor(const char* pszName, v8::FunctionCallback getter, v8::FunctionCallback setter);
    void addValue(EPlace ePlace, const char* pszName, v8::Local<v8::Value> value);
    v8::Isolate* isolate() const { return m_pIsolate; }

    // A callback property's value is kept by its script object, under a
    // hidden key of the member's name, and the native gets a weak copy: a
    // function that reaches its own object is then no cycle through a
    // native that the collector cannot see.
    static ScriptFunction HoldOnReceiver(v8::Isolate* pIsolate, v8::Local<v8::Object> receiver,
                                         v8::Local<v8::Value> member, v8::Local<v8::Value> value);
    typedef void (*CallbackSet)(void* pNative, const ScriptFunction& function);
    // The setter of a list-form callback property, with the list forms'
    // texts.
    static void RouteCallback(v8::Local<v8::String> name, v8::Local<v8::Value> value,
                              const v8::PropertyCallbackInfo<void>& info, const void* pNativeType, CallbackSet set);

    typedef void (*TypedCall)(void* pNative, const v8::FunctionCallbackInfo<v8::Value>& info);
    // The router of every typed member of the class whose natives are of
    // the type that NativeTypeTag gave: finds the receiver's native (none
    // for a static member), keeps it alive for the call, calls, and raises
    // whatever the call throws in the script.
    static void Route(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType, EPlace ePlace,
                      TypedCall call);
    // Throw the TypeErrors above, for the member the router's data names.
    [[noreturn]] static void RefuseCount(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType,
                                         int iNeeded);
    // iArgument counts from 1; 0 is a setter's value.
    [[noreturn]] static void RefuseArgument(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType,
                                            int iArgument, const char* pszExpected);

private:
    ScriptBridge& m_bridge;
    v8::Isolate* m_pIsolate;
    ScriptBridge::ScriptContext& m_context;
};

namespace Detail {

template <class... A>
struct Params {};

// A typed member's result and script parameters; C is the class of a member
// function or of a function's first parameter (C*), void for a plain
// function.
template <class F>
struct Signature;
template <class R, class C, class... A>
struct Signature<R (C::*)(A...)> {
    typedef R Result;
    typedef C Class;
    typedef Params<A...> Args;
    static const std::size_t s_uCount = sizeof...(A);
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) noexcept> : Signature<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const noexcept> : Signature<R (C::*)(A...)> {};
template <class R, class... A>
struct Signature<R (*)(A...)> {
    typedef R Result;
    typedef void Class;
    typedef Params<A...> Args;
    static const std::size_t s_uCount = sizeof...(A);
};
template <class R, class C, class... A>
struct Signature<R (*)(C*, A...)> {
    typedef R Result;
    typedef C Class;
    typedef Params<A...> Args;
    static const std::size_t s_uCount = sizeof...(A);
};
template <class R, class... A>
struct Signature<R (*)(A...) noexcept> : Signature<R (*)(A...)> {};

// The converter of a value type: a ScriptArray or other ScriptObject as a
// result is made as the value it holds.
template <class V>
using ConverterOf = Converter<typename std::conditional<
    std::is_base_of<ScriptObject, V>::value && !std::is_same<V, ScriptFunction>::value, ScriptObject, V>::type>;

}  // namespace Detail

template <class T>
class ClassBuilder : private ClassBuilderBase {
public:
    ClassBuilder(ScriptBridge& bridge, ScriptBridge::ScriptContext& context)
        : ClassBuilderBase(bridge, context, NativeTypeTag<T>())
    {
    }

    // A method on the prototype: a list form or a typed member.
    template <auto Fn>
    ClassBuilder& method(const char* pszName)
    {
        typedef decltype(Fn) F;
        if constexpr (std::is_same<F, ScriptObject (T::*)(const ScriptArray&)>::value)
            addMethod(pszName, &ScriptBridge::functionCallRouter<T, &CallMember<Fn>, T>);
        else if constexpr (std::is_same<F, ScriptObject (*)(T*, const ScriptArray&)>::value)
            addMethod(pszName, &ScriptBridge::functionCallRouter<T, Fn, T>);
        else
            addMethod(pszName, &MemberRouter<Fn, false>);
        return *this;
    }

    // A read-only accessor: Getter takes no script argument.
    template <auto Getter>
    ClassBuilder& getter(const char* pszName)
    {
        static_assert(Detail::Signature<decltype(Getter)>::s_uCount == 0, "a getter takes no value");
        addAccessor(pszName, &MemberRouter<Getter, false>, nullptr);
        return *this;
    }

    // A read-write accessor: Setter takes the assigned value, converted as an
    // argument is. A ScriptFunction property is a callback that reads back
    // what was assigned.
    template <auto Getter, auto Setter>
    ClassBuilder& property(const char* pszName)
    {
        static_assert(Detail::Signature<decltype(Getter)>::s_uCount == 0, "a getter takes no value");
        static_assert(Detail::Signature<decltype(Setter)>::s_uCount == 1, "a setter takes one value");
        addAccessor(pszName, &MemberRouter<Getter, false>, &MemberRouter<Setter, true>);
        return *this;
    }

    template <class V>
    ClassBuilder& value(const char* pszName, const V& value)
    {
        addValue(PROTOTYPE, pszName, Constant(value));
        return *this;
    }

    // A function of the constructor: Fn is a plain function.
    template <auto Fn>
    ClassBuilder& staticMethod(const char* pszName)
    {
        static_assert(std::is_void<typename Detail::Signature<decltype(Fn)>::Class>::value,
                      "a static method is a plain function");
        addFunction(CONSTRUCTOR, pszName, &StaticRouter<Fn>);
        return *this;
    }

    template <class V>
    ClassBuilder& staticValue(const char* pszName, const V& value)
    {
        addValue(CONSTRUCTOR, pszName, Constant(value));
        return *this;
    }

    // A property that stores what a script assigns to it; reading it yields
    // undefined.
    template <void (T::*Setter)(const ScriptFunction&)>
    ClassBuilder& callback(const char* pszName)
    {
        addCallback(pszName, &CallbackRouter<Setter>);
        return *this;
    }

private:
    template <void (T::*Setter)(const ScriptFunction&)>
    static void SetCallback(void* pNative, const ScriptFunction& function)
    {
        (static_cast<T*>(pNative)->*Setter)(function);
    }
    template <void (T::*Setter)(const ScriptFunction&)>
    static void CallbackRouter(v8::Local<v8::String> name, v8::Local<v8::Value> value,
                               const v8::PropertyCallbackInfo<void>& info)
    {
        RouteCallback(name, value, info, NativeTypeTag<T>(), &SetCallback<Setter>);
    }

    template <ScriptObject (T::*Method)(const ScriptArray&)>
    static ScriptObject CallMember(T* pNative, const ScriptArray& aArgs)
    {
        return (pNative->*Method)(aArgs);
    }

    // Templates hold only primitives: a value is one that Converter makes,
    // and makes without fail while the class is built, where nothing could
    // raise a refusal.
    template <class V>
    v8::Local<v8::Value> Constant(const V& value)
    {
        static_assert(!std::is_base_of<ScriptObject, V>::value, "a class's value is a number, boolean or text");
        static_assert(!std::is_same<V, std::int64_t>::value, "a 64-bit value may be beyond a number: give a double");
        if constexpr (std::is_convertible<const V&, const char*>::value)
            return Converter<std::string>::To(isolate(), std::string(value));
        else
            return Converter<V>::To(isolate(), value);
    }

    template <auto Fn, bool bSetter>
    static void MemberRouter(const v8::FunctionCallbackInfo<v8::Value>& info)
    {
        static_assert(std::is_base_of<typename Detail::Signature<decltype(Fn)>::Class, T>::value,
                      "a member of the class, or a function taking the class's native first");
        Route(info, NativeTypeTag<T>(), PROTOTYPE, &Invoke<Fn, bSetter>);
    }

    template <auto Fn>
    static void StaticRouter(const v8::FunctionCallbackInfo<v8::Value>& info)
    {
        Route(info, NativeTypeTag<T>(), CONSTRUCTOR, &Invoke<Fn, false>);
    }

    template <auto Fn, bool bSetter>
    static void Invoke(void* pNative, const v8::FunctionCallbackInfo<v8::Value>& info)
    {
        typedef Detail::Signature<decltype(Fn)> S;
        InvokeWith<Fn, bSetter>(static_cast<T*>(pNative), info, typename S::Args(),
                                std::make_index_sequence<S::s_uCount>());
    }

    template <auto Fn, bool bSetter, class... A, std::size_t... I>
    static void InvokeWith(T* pNative, const v8::FunctionCallbackInfo<v8::Value>& info, Detail::Params<A...>,
                           std::index_sequence<I...>)
    {
        typedef typename Detail::Signature<decltype(Fn)>::Result R;
        if (info.Length() < static_cast<int>(sizeof...(A)))
            RefuseCount(info, NativeTypeTag<T>(), static_cast<int>(sizeof...(A)));
        // A braced list converts left to right: the first wrong argument is
        // the one named.
        std::tuple<typename std::decay<A>::type...> args{
            Argument<typename std::decay<A>::type>(info, bSetter ? 0 : static_cast<int>(I) + 1)...};
        (void)args;
        if constexpr (std::is_void<R>::value) {
            Call<Fn>(pNative, static_cast<A&&>(std::get<I>(args))...);
        } else {
            typedef typename std::decay<R>::type V;
            info.GetReturnValue().Set(Detail::ConverterOf<V>::To(
                info.GetIsolate(), Call<Fn>(pNative, static_cast<A&&>(std::get<I>(args))...)));
        }
    }

    // iArgument counts from 1 (0: a setter's value).
    template <class V>
    static V Argument(const v8::FunctionCallbackInfo<v8::Value>& info, int iArgument)
    {
        V value{};
        if (!Converter<V>::From(info.GetIsolate(), info[iArgument > 0 ? iArgument - 1 : 0], value))
            RefuseArgument(info, NativeTypeTag<T>(), iArgument, Converter<V>::Expected());
        if constexpr (std::is_same<V, ScriptFunction>::value) {
            if (iArgument == 0)
                return HoldOnReceiver(info.GetIsolate(), info.This(), info.Data(), info[0]);
        }
        return value;
    }

    template <auto Fn, class... X>
    static decltype(auto) Call(T* pNative, X&&... args)
    {
        typedef typename Detail::Signature<decltype(Fn)>::Class C;
        if constexpr (std::is_member_function_pointer<decltype(Fn)>::value)
            return (pNative->*Fn)(std::forward<X>(args)...);
        else if constexpr (std::is_void<C>::value)
            return Fn(std::forward<X>(args)...);
        else
            return Fn(pNative, std::forward<X>(args)...);
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
