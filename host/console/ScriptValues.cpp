#include "console/ScriptValues.h"

namespace Kite {

std::string TextOfValue(v8::Isolate* pIsolate, v8::Local<v8::Value> value)
{
    v8::Local<v8::String> text;
    if (value->IsString())
        text = value.As<v8::String>();
    else if (!value->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        return std::string();
    return Bridge::TextOf(pIsolate, text);
}

bool DisplayText(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::string& strOut)
{
    if (value->IsSymbol()) {
        // String(symbol) works where ToString throws.
        v8::Local<v8::Value> description = value.As<v8::Symbol>()->Description(pIsolate);
        strOut = "Symbol(" +
                 (description->IsString() ? Bridge::TextOf(pIsolate, description.As<v8::String>()) : std::string()) +
                 ")";
        return true;
    }
    v8::Local<v8::String> text;
    if (!value->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        return false;
    strOut = Bridge::TextOf(pIsolate, text);
    return true;
}

void SetFunction(v8::Local<v8::Context> context, v8::Local<v8::Object> target, const char* pszName,
                 v8::FunctionCallback callback, v8::Local<v8::Value> data)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Function> function =
        v8::FunctionTemplate::New(pIsolate, callback, data)->GetFunction(context).ToLocalChecked();
    v8::Local<v8::String> name = Bridge::NewText(pIsolate, pszName);
    function->SetName(name);
    target->Set(context, name, function).Check();
}

}  // namespace Kite
