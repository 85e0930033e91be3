// One set of names over the two V8 generations the engine builds against:
// the 3.x interface that the TV's engine embeds (3.28: no MaybeLocal, no
// context arguments, UniquePersistent, WeakCallbackData) and the desktop's
// 10.2. Wherever the two differ, the engine and its plug-ins write these
// names, so no version test is spread through them.
//
// The names follow 10.2: a value that a script exception can leave empty is
// a MaybeLocal, and a call that can throw takes the context and answers
// false (or an empty handle) only when it threw: a property that an object
// refuses without throwing (a frozen one, say) answers true.
#ifndef BRIDGE_V8_COMPAT_H
#define BRIDGE_V8_COMPAT_H

#include <cstdint>
#include <cstdlib>
#include <string>
#include <v8.h>

// V8 defines its version in v8-version.h, which the 3.x headers lack.
#if defined(V8_MAJOR_VERSION)
#define BRIDGE_V8_3X 0
#else
#define BRIDGE_V8_3X 1
#endif

namespace Bridge {
namespace Compat {

#if BRIDGE_V8_3X

// A handle that may be empty because a script exception stopped its making.
template <class T>
class MaybeLocal {
public:
    MaybeLocal() {}
    template <class S>
    MaybeLocal(v8::Local<S> handle) : m_handle(handle)
    {
    }
    bool IsEmpty() const { return m_handle.IsEmpty(); }
    template <class S>
    bool ToLocal(v8::Local<S>* pOut) const
    {
        *pOut = m_handle;
        return !m_handle.IsEmpty();
    }
    v8::Local<T> ToLocalChecked() const
    {
        if (m_handle.IsEmpty())
            std::abort();  // as 10.2's own check ends the process
        return m_handle;
    }
    template <class S>
    v8::Local<S> FromMaybe(v8::Local<S> fallback) const
    {
        return m_handle.IsEmpty() ? fallback : v8::Local<S>(m_handle);
    }

private:
    v8::Local<T> m_handle;
};

// A persistent handle that owns its cell: movable, not copyable, reset when
// destroyed.
template <class T>
class Global {
public:
    Global() {}
    template <class S>
    Global(v8::Isolate* pIsolate, v8::Local<S> handle) : m_handle(pIsolate, handle)
    {
    }
    // A handle made weak by SetWeak() resets the cell at the address its
    // callback was given: a move hands it the new one. (A handle weak with a
    // callback of its own, Compat::SetWeak below, stays where it is made.)
    Global(Global&& other) noexcept : m_handle(other.m_handle.Pass())
    {
        if (m_handle.IsWeak())
            SetWeak();
    }
    Global& operator=(Global&& other) noexcept
    {
        if (this != &other) {
            m_handle = other.m_handle.Pass();
            if (m_handle.IsWeak())
                SetWeak();
        }
        return *this;
    }
    // As 10.2's SetWeak(): the handle empties when the collector finds its
    // value unreachable.
    void SetWeak() { m_handle.SetWeak(&m_handle, &ResetWeak); }
    void ClearWeak() { m_handle.ClearWeak(); }
    bool IsWeak() const { return m_handle.IsWeak(); }

    bool IsEmpty() const { return m_handle.IsEmpty(); }
    void Reset() { m_handle.Reset(); }
    template <class S>
    void Reset(v8::Isolate* pIsolate, v8::Local<S> handle)
    {
        m_handle.Reset(pIsolate, handle);
    }
    template <class S>
    void Reset(v8::Isolate* pIsolate, const Global<S>& other)
    {
        m_handle.Reset(pIsolate, other.m_handle);
    }
    v8::Local<T> Get(v8::Isolate* pIsolate) const { return v8::Local<T>::New(pIsolate, m_handle); }
    template <class S>
    bool operator==(v8::Local<S> handle) const
    {
        return m_handle == handle;
    }
    template <class S>
    bool operator!=(v8::Local<S> handle) const
    {
        return !(m_handle == handle);
    }

private:
    template <class S>
    friend class Global;
    template <class P, void (*Callback)(P*), class S>
    friend void SetWeak(Global<S>& handle, P* pParameter);

    Global(const Global&) = delete;
    Global& operator=(const Global&) = delete;

    static void ResetWeak(const v8::WeakCallbackData<T, v8::UniquePersistent<T>>& data)
    {
        data.GetParameter()->Reset();
    }

    v8::UniquePersistent<T> m_handle;
};

class TryCatch : public v8::TryCatch {
public:
    explicit TryCatch(v8::Isolate*) {}
};

// A value's text as UTF-8, through its ToString.
class Utf8Value : public v8::String::Utf8Value {
public:
    Utf8Value(v8::Isolate*, v8::Local<v8::Value> value) : v8::String::Utf8Value(value) {}
};

const v8::String::NewStringType kNormalString = v8::String::kNormalString;
const v8::String::NewStringType kInternalizedString = v8::String::kInternalizedString;

// The longest string V8 makes (String::kMaxLength of later generations).
const int kMaxStringLength = (1 << 28) - 16;

// A handle that a 3.x call answers, as later generations answer it.
template <class T>
MaybeLocal<T> AsMaybe(v8::Local<T> handle)
{
    return MaybeLocal<T>(handle);
}
template <class T>
MaybeLocal<T> AsMaybe(MaybeLocal<T> handle)
{
    return handle;
}

// The two strings joined; the caller keeps the sum within kMaxStringLength.
inline v8::Local<v8::String> Concat(v8::Isolate*, v8::Local<v8::String> left, v8::Local<v8::String> right)
{
    return v8::String::Concat(left, right);
}

// Calls Callback with the parameter once the collector has found the
// handle's object unreachable. The callback must reset the handle, and may
// not call V8.
template <class P, void (*Callback)(P*), class T>
void SetWeak(Global<T>& handle, P* pParameter)
{
    struct Weak {
        static void Call(const v8::WeakCallbackData<T, P>& data) { Callback(data.GetParameter()); }
    };
    handle.m_handle.SetWeak(pParameter, &Weak::Call);
}

inline MaybeLocal<v8::Value> Get(v8::Local<v8::Context>, v8::Local<v8::Object> object, v8::Local<v8::Value> key)
{
    return object->Get(key);
}
inline MaybeLocal<v8::Value> Get(v8::Local<v8::Context>, v8::Local<v8::Object> object, std::uint32_t uIndex)
{
    return object->Get(uIndex);
}
inline bool Set(v8::Local<v8::Context>, v8::Local<v8::Object> object, v8::Local<v8::Value> key,
                v8::Local<v8::Value> value)
{
    return object->Set(key, value);
}
inline bool Set(v8::Local<v8::Context>, v8::Local<v8::Object> object, std::uint32_t uIndex,
                v8::Local<v8::Value> value)
{
    return object->Set(uIndex, value);
}
// A property no script sees, under the key's text: what the object keeps
// alive for its native.
inline void SetHidden(v8::Isolate*, v8::Local<v8::Context>, v8::Local<v8::Object> object, v8::Local<v8::String> key,
                      v8::Local<v8::Value> value)
{
    object->SetHiddenValue(key, value);
}
// An own data property, as an object literal defines it: no setter on the
// object or its prototypes sees it.
inline bool CreateDataProperty(v8::Local<v8::Context>, v8::Local<v8::Object> object, v8::Local<v8::String> key,
                               v8::Local<v8::Value> value)
{
    return object->ForceSet(key, value, v8::None);
}
inline bool CreateDataProperty(v8::Local<v8::Context> context, v8::Local<v8::Object> object, std::uint32_t uIndex,
                               v8::Local<v8::Value> value)
{
    return object->ForceSet(v8::Integer::NewFromUnsigned(context->GetIsolate(), uIndex), value, v8::None);
}
inline bool DefineOwnProperty(v8::Local<v8::Context>, v8::Local<v8::Object> object, v8::Local<v8::String> key,
                              v8::Local<v8::Value> value, v8::PropertyAttribute eAttributes)
{
    return object->ForceSet(key, value, eAttributes);
}
inline MaybeLocal<v8::String> ToString(v8::Local<v8::Context>, v8::Local<v8::Value> value)
{
    return value->ToString();
}
inline MaybeLocal<v8::Value> Call(v8::Local<v8::Context>, v8::Local<v8::Function> function,
                                  v8::Local<v8::Value> receiver, int iCount, v8::Local<v8::Value>* pArguments)
{
    return function->Call(receiver, iCount, pArguments);
}
inline MaybeLocal<v8::Function> GetFunction(v8::Local<v8::Context>, v8::Local<v8::FunctionTemplate> functionTemplate)
{
    return functionTemplate->GetFunction();
}
// A function of the context with these parameters and this body.
inline MaybeLocal<v8::Function> CompileFunction(v8::Local<v8::Context> context, v8::Local<v8::String> body,
                                                int iCount, v8::Local<v8::String>* pParameters)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    std::string strSource = "(function (";
    for (int i = 0; i < iCount; ++i) {
        v8::String::Utf8Value parameter(pParameters[i]);
        strSource += (i > 0 ? ", " : "") + std::string(*parameter, static_cast<std::size_t>(parameter.length()));
    }
    v8::String::Utf8Value text(body);
    strSource += ") {\n" + std::string(*text, static_cast<std::size_t>(text.length())) + "\n})";
    v8::Local<v8::Script> script = v8::Script::Compile(v8::String::NewFromUtf8(
        pIsolate, strSource.data(), v8::String::kNormalString, static_cast<int>(strSource.size())));
    v8::Local<v8::Value> function = script.IsEmpty() ? v8::Local<v8::Value>() : script->Run();
    if (function.IsEmpty() || !function->IsFunction())
        return MaybeLocal<v8::Function>();
    return function.As<v8::Function>();
}

inline int Utf8Length(v8::Isolate*, v8::Local<v8::String> text)
{
    return text->Utf8Length();
}
inline int WriteUtf8(v8::Isolate*, v8::Local<v8::String> text, char* pBuffer, int iLength, int iOptions)
{
    return text->WriteUtf8(pBuffer, iLength, nullptr, iOptions);
}
inline int Write(v8::Isolate*, v8::Local<v8::String> text, std::uint16_t* pBuffer, int iStart, int iLength,
                 int iOptions)
{
    return text->Write(pBuffer, iStart, iLength, iOptions);
}

inline v8::Local<v8::StackFrame> GetFrame(v8::Isolate*, v8::Local<v8::StackTrace> trace, std::uint32_t uIndex)
{
    return trace->GetFrame(uIndex);
}

template <void (*Listener)(v8::Local<v8::Message>, v8::Local<v8::Value>)>
struct MessageListener {
    static void Call(v8::Handle<v8::Message> message, v8::Handle<v8::Value> data)
    {
        v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
        Listener(v8::Local<v8::Message>::New(pIsolate, message), v8::Local<v8::Value>::New(pIsolate, data));
    }
};
template <void (*Listener)(v8::Local<v8::Message>, v8::Local<v8::Value>)>
void AddMessageListener(v8::Isolate*)
{
    v8::V8::AddMessageListener(&MessageListener<Listener>::Call);
}
template <void (*Listener)(v8::Local<v8::Message>, v8::Local<v8::Value>)>
void RemoveMessageListeners(v8::Isolate*)
{
    v8::V8::RemoveMessageListeners(&MessageListener<Listener>::Call);
}

// 3.x has no BigInt.
inline bool IsBigInt(v8::Local<v8::Value>)
{
    return false;
}
inline std::int64_t BigIntToInt64(v8::Local<v8::Value>, bool* pLossless)
{
    *pLossless = false;
    return 0;
}
inline std::uint64_t BigIntToUint64(v8::Local<v8::Value>, bool* pLossless)
{
    *pLossless = false;
    return 0;
}

// The value's ToInt32; 0 where the conversion throws, whose exception is left
// pending.
inline std::int32_t Int32Value(v8::Local<v8::Context>, v8::Local<v8::Value> value)
{
    return value->Int32Value();
}

#else

template <class T>
using MaybeLocal = v8::MaybeLocal<T>;
template <class T>
using Global = v8::Global<T>;
using TryCatch = v8::TryCatch;
using Utf8Value = v8::String::Utf8Value;

const v8::NewStringType kNormalString = v8::NewStringType::kNormal;
const v8::NewStringType kInternalizedString = v8::NewStringType::kInternalized;

const int kMaxStringLength = v8::String::kMaxLength;

template <class T>
MaybeLocal<T> AsMaybe(v8::MaybeLocal<T> handle)
{
    return handle;
}

inline v8::Local<v8::String> Concat(v8::Isolate* pIsolate, v8::Local<v8::String> left, v8::Local<v8::String> right)
{
    return v8::String::Concat(pIsolate, left, right);
}

template <class P, void (*Callback)(P*), class T>
void SetWeak(Global<T>& handle, P* pParameter)
{
    struct Weak {
        static void Call(const v8::WeakCallbackInfo<P>& info) { Callback(info.GetParameter()); }
    };
    handle.SetWeak(pParameter, &Weak::Call, v8::WeakCallbackType::kParameter);
}

inline MaybeLocal<v8::Value> Get(v8::Local<v8::Context> context, v8::Local<v8::Object> object,
                                 v8::Local<v8::Value> key)
{
    return object->Get(context, key);
}
inline MaybeLocal<v8::Value> Get(v8::Local<v8::Context> context, v8::Local<v8::Object> object, std::uint32_t uIndex)
{
    return object->Get(context, uIndex);
}
inline bool Set(v8::Local<v8::Context> context, v8::Local<v8::Object> object, v8::Local<v8::Value> key,
                v8::Local<v8::Value> value)
{
    return !object->Set(context, key, value).IsNothing();
}
inline bool Set(v8::Local<v8::Context> context, v8::Local<v8::Object> object, std::uint32_t uIndex,
                v8::Local<v8::Value> value)
{
    return !object->Set(context, uIndex, value).IsNothing();
}
inline void SetHidden(v8::Isolate* pIsolate, v8::Local<v8::Context> context, v8::Local<v8::Object> object,
                      v8::Local<v8::String> key, v8::Local<v8::Value> value)
{
    (void)object->SetPrivate(context, v8::Private::ForApi(pIsolate, key), value);
}
inline bool CreateDataProperty(v8::Local<v8::Context> context, v8::Local<v8::Object> object,
                               v8::Local<v8::String> key, v8::Local<v8::Value> value)
{
    return !object->CreateDataProperty(context, key, value).IsNothing();
}
inline bool CreateDataProperty(v8::Local<v8::Context> context, v8::Local<v8::Object> object,
                               std::uint32_t uIndex, v8::Local<v8::Value> value)
{
    return !object->CreateDataProperty(context, uIndex, value).IsNothing();
}
inline bool DefineOwnProperty(v8::Local<v8::Context> context, v8::Local<v8::Object> object,
                              v8::Local<v8::String> key, v8::Local<v8::Value> value,
                              v8::PropertyAttribute eAttributes)
{
    return !object->DefineOwnProperty(context, key, value, eAttributes).IsNothing();
}
inline MaybeLocal<v8::String> ToString(v8::Local<v8::Context> context, v8::Local<v8::Value> value)
{
    return value->ToString(context);
}
inline MaybeLocal<v8::Value> Call(v8::Local<v8::Context> context, v8::Local<v8::Function> function,
                                  v8::Local<v8::Value> receiver, int iCount, v8::Local<v8::Value>* pArguments)
{
    return function->Call(context, receiver, iCount, pArguments);
}
inline MaybeLocal<v8::Function> GetFunction(v8::Local<v8::Context> context,
                                            v8::Local<v8::FunctionTemplate> functionTemplate)
{
    return functionTemplate->GetFunction(context);
}
inline MaybeLocal<v8::Function> CompileFunction(v8::Local<v8::Context> context, v8::Local<v8::String> body,
                                                int iCount, v8::Local<v8::String>* pParameters)
{
    v8::ScriptCompiler::Source source(body);
    return v8::ScriptCompiler::CompileFunction(context, &source, static_cast<std::size_t>(iCount), pParameters);
}

inline int Utf8Length(v8::Isolate* pIsolate, v8::Local<v8::String> text)
{
    return text->Utf8Length(pIsolate);
}
inline int WriteUtf8(v8::Isolate* pIsolate, v8::Local<v8::String> text, char* pBuffer, int iLength, int iOptions)
{
    return text->WriteUtf8(pIsolate, pBuffer, iLength, nullptr, iOptions);
}
inline int Write(v8::Isolate* pIsolate, v8::Local<v8::String> text, std::uint16_t* pBuffer, int iStart, int iLength,
                 int iOptions)
{
    return text->Write(pIsolate, pBuffer, iStart, iLength, iOptions);
}

inline v8::Local<v8::StackFrame> GetFrame(v8::Isolate* pIsolate, v8::Local<v8::StackTrace> trace,
                                          std::uint32_t uIndex)
{
    return trace->GetFrame(pIsolate, uIndex);
}

template <void (*Listener)(v8::Local<v8::Message>, v8::Local<v8::Value>)>
void AddMessageListener(v8::Isolate* pIsolate)
{
    pIsolate->AddMessageListener(Listener);
}
template <void (*Listener)(v8::Local<v8::Message>, v8::Local<v8::Value>)>
void RemoveMessageListeners(v8::Isolate* pIsolate)
{
    pIsolate->RemoveMessageListeners(Listener);
}

inline bool IsBigInt(v8::Local<v8::Value> value)
{
    return value->IsBigInt();
}
inline std::int64_t BigIntToInt64(v8::Local<v8::Value> value, bool* pLossless)
{
    return value.As<v8::BigInt>()->Int64Value(pLossless);
}
inline std::uint64_t BigIntToUint64(v8::Local<v8::Value> value, bool* pLossless)
{
    return value.As<v8::BigInt>()->Uint64Value(pLossless);
}

inline std::int32_t Int32Value(v8::Local<v8::Context> context, v8::Local<v8::Value> value)
{
    return value->Int32Value(context).FromMaybe(0);
}

#endif

// The handle of a call that only a broken engine leaves empty (a member
// name, say), on either generation.
template <class H>
auto Checked(H handle) -> decltype(AsMaybe(handle).ToLocalChecked())
{
    return AsMaybe(handle).ToLocalChecked();
}

}  // namespace Compat
}  // namespace Bridge

#endif
