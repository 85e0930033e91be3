#include <Bridge/Engine.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "console/ScriptValues.h"
#include "globals/KiteObject.h"
#include "runtime/KiteRun.h"
#include "globals/Timers.h"

namespace Kite {

namespace {

void Quit(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    int iCode = 0;
    if (info.Length() > 0 && !info[0]->IsUndefined()) {
        double dCode = info[0]->IsNumber() ? info[0].As<v8::Number>()->Value() : -1.0;
        if (!(dCode >= 0.0 && dCode <= 255.0) || dCode != static_cast<double>(static_cast<int>(dCode))) {
            Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::RANGE_ERROR,
                                     "kite.quit: the exit code must be an integer from 0 to 255");
            return;
        }
        iCode = static_cast<int>(dCode);
    }
    CKiteRun::Of(pIsolate).RequestQuit(iCode);
}

void CollectGarbage(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Bridge::Engine::CollectGarbage(info.GetIsolate());
}

void Destroy(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (!info[0]->IsObject()) {
        Bridge::ThrowScriptError(info.GetIsolate(), Bridge::ScriptError::TYPE_ERROR,
                                 "kite.destroy: the argument must be an object");
        return;
    }
    info.GetReturnValue().Set(Bridge::Engine::DestroyObject(info[0].As<v8::Object>()));
}

void ThreadId(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(static_cast<double>(syscall(SYS_gettid)));
}

}  // namespace

v8::Local<v8::Object> InstallKiteObject(v8::Local<v8::Context> context, const std::vector<std::string>& aArgs)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> kite = v8::Object::New(pIsolate);

    v8::Local<v8::Array> args = v8::Array::New(pIsolate, static_cast<int>(aArgs.size()));
    for (std::size_t i = 0; i < aArgs.size(); ++i)
        args->Set(context, static_cast<uint32_t>(i), Bridge::NewText(pIsolate, aArgs[i])).Check();
    kite->Set(context, Bridge::NewText(pIsolate, "args"), args).Check();

    SetFunction(context, kite, "quit", Quit);
    SetFunction(context, kite, "gc", CollectGarbage);
    SetFunction(context, kite, "destroy", Destroy);
    SetFunction(context, kite, "afterIdle", AfterIdle);
    SetFunction(context, kite, "tid", ThreadId);
    context->Global()->Set(context, Bridge::NewText(pIsolate, "kite"), kite).Check();
    return kite;
}

}  // namespace Kite
