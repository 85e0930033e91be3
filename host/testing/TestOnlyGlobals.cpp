#include "testing/TestOnlyGlobals.h"

#include <DlogSink.h>

#include "console/ScriptValues.h"
#include "runtime/KiteRun.h"
#include "runtime/ScriptFile.h"

namespace Kite {

namespace {

// kite.load(path): runs another script file and answers its completion value.
void Load(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsString()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "kite.load: the argument must be a path");
        return;
    }
    CKiteRun& run = CKiteRun::Of(pIsolate);
    std::string strPath =
        AbsolutePath(ResolvePath(run.m_strScriptDirectory, Bridge::TextOf(pIsolate, info[0].As<v8::String>())));
    std::string strSource;
    std::string strError;
    if (!ReadScriptFile(strPath, strSource, strError)) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR, "kite.load: " + strError);
        return;
    }
    // Also one that does not compile: kite test --watch runs its tests again
    // once it is mended.
    run.m_aLoadedFiles.push_back(strPath);
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::Local<v8::Script> script;
    v8::Local<v8::Value> result;
    // A syntax error or the script's own exception stays pending for the caller.
    if (CompileScript(context, strSource, strPath).ToLocal(&script) && script->Run(context).ToLocal(&result))
        info.GetReturnValue().Set(result);
}

void CaptureLog(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (info[0]->BooleanValue(info.GetIsolate()))
        Dlog::StartCapture();
    else
        Dlog::StopCapture();
}

// kite.takeLog(): the captured lines as {priority, tag, text}.
void TakeLog(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    std::vector<Dlog::CLogLine> aLines = Dlog::TakeCaptured();
    v8::Local<v8::Array> lines = v8::Array::New(pIsolate, static_cast<int>(aLines.size()));
    for (std::size_t i = 0; i < aLines.size(); ++i) {
        const Dlog::CLogLine& line = aLines[i];
        v8::Local<v8::Object> entry = v8::Object::New(pIsolate);
        entry->Set(context, Bridge::NewText(pIsolate, "priority"), v8::Integer::New(pIsolate, line.m_iPriority))
            .Check();
        v8::Local<v8::Value> tag = line.m_bHasTag ? Bridge::NewText(pIsolate, line.m_strTag).As<v8::Value>()
                                                  : v8::Null(pIsolate).As<v8::Value>();
        entry->Set(context, Bridge::NewText(pIsolate, "tag"), tag).Check();
        entry->Set(context, Bridge::NewText(pIsolate, "text"), Bridge::NewText(pIsolate, line.m_strText)).Check();
        lines->Set(context, static_cast<uint32_t>(i), entry).Check();
    }
    info.GetReturnValue().Set(lines);
}

}  // namespace

void InstallTestOnlyGlobals(v8::Local<v8::Context> context, v8::Local<v8::Object> kite)
{
    SetFunction(context, kite, "load", Load);
    SetFunction(context, kite, "captureLog", CaptureLog);
    SetFunction(context, kite, "takeLog", TakeLog);
}

}  // namespace Kite
