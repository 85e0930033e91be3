#include "Bridge/ScriptFunction.h"

#include <vector>

#include "Bridge/Engine.h"
#include "ScriptContextScope.h"

namespace Bridge {

ScriptFunction::ScriptFunction() : ScriptObject(ScriptObject::Null()) {}

ScriptFunction::ScriptFunction(v8::Local<v8::Function> function)
    : ScriptObject(function.As<v8::Value>())
{
}

ScriptFunction::ScriptFunction(const ScriptFunction& other) : ScriptObject(other) {}

ScriptFunction& ScriptFunction::operator=(const ScriptFunction& other)
{
    ScriptObject::operator=(other);
    return *this;
}

ScriptFunction::~ScriptFunction() {}

ScriptObject ScriptFunction::invoke(ScriptArray args) const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (pIsolate == nullptr)
        return ScriptObject(v8::Local<v8::Value>());
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> value = getValue();
    if (!context.valid() || value.IsEmpty() || !value->IsFunction())
        return ScriptObject::Null();

    // From here on nothing reads this object: the script may destroy the
    // slot that holds it while it runs.
    v8::Local<v8::Function> function = value.As<v8::Function>();
    std::vector<v8::Local<v8::Value>> argv;
    int iCount = args.Length();
    argv.reserve(static_cast<std::size_t>(iCount));
    for (int i = 0; i < iCount; ++i) {
        v8::Local<v8::Value> argument = args.get(i).getValue();
        argv.push_back(argument.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : argument);
    }

    v8::TryCatch tryCatch(pIsolate);
    v8::Local<v8::Value> result;
    if (!function->Call(context.context(), v8::Undefined(pIsolate), iCount, argv.data())
             .ToLocal(&result)) {
        if (tryCatch.HasCaught() && tryCatch.CanContinue())
            Engine::ReportUncaught(pIsolate, tryCatch);
        return ScriptObject::Null();
    }
    return ScriptObject(result);
}

}  // namespace Bridge
