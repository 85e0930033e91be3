#include "ScriptValues.h"

namespace Kite {

v8::Local<v8::String> NewString(v8::Isolate* pIsolate, const std::string& strText)
{
    return v8::String::NewFromUtf8(pIsolate, strText.data(), v8::NewStringType::kNormal,
                                   static_cast<int>(strText.size()))
        .FromMaybe(v8::String::Empty(pIsolate));
}

std::string Utf8Of(v8::Isolate* pIsolate, v8::Local<v8::Value> value)
{
    v8::String::Utf8Value text(pIsolate, value);
    if (*text == nullptr)
        return std::string();
    return std::string(*text, static_cast<std::size_t>(text.length()));
}

bool DisplayText(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::string& strOut)
{
    if (value->IsSymbol()) {
        // String(symbol) works where ToString throws.
        v8::Local<v8::Value> description = value.As<v8::Symbol>()->Description(pIsolate);
        strOut = "Symbol(" + (description->IsUndefined() ? std::string() : Utf8Of(pIsolate, description)) + ")";
        return true;
    }
    v8::Local<v8::String> text;
    if (!value->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        return false;
    strOut = Utf8Of(pIsolate, text);
    return true;
}

void SetFunction(v8::Local<v8::Context> context, v8::Local<v8::Object> target, const char* pszName,
                 v8::FunctionCallback callback)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Function> function =
        v8::FunctionTemplate::New(pIsolate, callback)->GetFunction(context).ToLocalChecked();
    v8::Local<v8::String> name = NewString(pIsolate, pszName);
    function->SetName(name);
    target->Set(context, name, function).Check();
}

void ThrowTypeError(v8::Isolate* pIsolate, const std::string& strMessage)
{
    pIsolate->ThrowException(v8::Exception::TypeError(NewString(pIsolate, strMessage)));
}

void ThrowError(v8::Isolate* pIsolate, const std::string& strMessage)
{
    pIsolate->ThrowException(v8::Exception::Error(NewString(pIsolate, strMessage)));
}

}  // namespace Kite
