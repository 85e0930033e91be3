#include "BareClass.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace TetherBench {

namespace {

struct CBareNative {
    v8::Global<v8::Value> m_callback;
};

std::vector<std::unique_ptr<CBareNative>> s_aNatives;
v8::Eternal<v8::String> s_returnEcode;
v8::Eternal<v8::String> s_returnType;
v8::Eternal<v8::String> s_returnData;

CBareNative* Unwrap(v8::Local<v8::Object> receiver)
{
    if (receiver->InternalFieldCount() < 1)
        return nullptr;
    return static_cast<CBareNative*>(receiver->GetInternalField(0).As<v8::External>()->Value());
}

void Construct(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    s_aNatives.emplace_back(new CBareNative());
    info.This()->SetInternalField(0, v8::External::New(info.GetIsolate(), s_aNatives.back().get()));
}

// A fresh object with each key holding 0, stored as the bridge stores them.
void AnswerObject(const v8::FunctionCallbackInfo<v8::Value>& info,
                  std::initializer_list<v8::Local<v8::String>> keys)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (Unwrap(info.This()) == nullptr) {
        pIsolate->ThrowException(v8::Exception::Error(v8::String::NewFromUtf8Literal(pIsolate, "no native")));
        return;
    }
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::Local<v8::Object> result = v8::Object::New(pIsolate);
    for (v8::Local<v8::String> key : keys)
        result->Set(context, key, v8::Integer::New(pIsolate, 0)).Check();
    info.GetReturnValue().Set(result);
}

void Call(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AnswerObject(info, {s_returnEcode.Get(info.GetIsolate())});
}

// What a query's result holds: the least any query can cost.
void CallThree(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    AnswerObject(info, {s_returnEcode.Get(pIsolate), s_returnType.Get(pIsolate), s_returnData.Get(pIsolate)});
}

void CallNaive(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AnswerObject(info, {v8::String::NewFromUtf8(info.GetIsolate(), "return_ecode").ToLocalChecked()});
}

void SetCallback(v8::Local<v8::String>, v8::Local<v8::Value> value, const v8::PropertyCallbackInfo<void>& info)
{
    CBareNative* pNative = Unwrap(info.This());
    if (pNative != nullptr)
        pNative->m_callback.Reset(info.GetIsolate(), value);
}

}  // namespace

void InstallBareClass(CBenchRuntime& runtime)
{
    v8::Isolate* pIsolate = runtime.Isolate();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = runtime.Context();
    s_returnEcode.Set(pIsolate, v8::String::NewFromUtf8Literal(pIsolate, "return_ecode"));
    s_returnType.Set(pIsolate, v8::String::NewFromUtf8Literal(pIsolate, "return_type"));
    s_returnData.Set(pIsolate, v8::String::NewFromUtf8Literal(pIsolate, "return_data"));

    v8::Local<v8::FunctionTemplate> constructor = v8::FunctionTemplate::New(pIsolate, Construct);
    constructor->InstanceTemplate()->SetInternalFieldCount(2);
    constructor->PrototypeTemplate()->Set(pIsolate, "call", v8::FunctionTemplate::New(pIsolate, Call));
    constructor->PrototypeTemplate()->Set(pIsolate, "callThree", v8::FunctionTemplate::New(pIsolate, CallThree));
    constructor->PrototypeTemplate()->Set(pIsolate, "callNaive", v8::FunctionTemplate::New(pIsolate, CallNaive));
    constructor->InstanceTemplate()->SetAccessor(v8::String::NewFromUtf8Literal(pIsolate, "onbuffering"),
                                                 nullptr, SetCallback);
    context->Global()
        ->Set(context, v8::String::NewFromUtf8Literal(pIsolate, "Bare"),
              constructor->GetFunction(context).ToLocalChecked())
        .Check();
}

void ReleaseBareNatives()
{
    s_aNatives.clear();
}

}  // namespace TetherBench
