#include <cstdio>

#include "Globals.h"
#include "HostState.h"
#include "Inspector.h"
#include "ScriptValues.h"

namespace Kite {

namespace {

// Arguments joined by spaces, each as String() shows it.
void Print(const v8::FunctionCallbackInfo<v8::Value>& info, std::FILE* pStream, const char* pszMethod)
{
    // kite.quit stops the script only at its next function call.
    if (CHostState::Get().m_bQuitRequested)
        return;
    InspectorConsoleCall(info, pszMethod);
    v8::Isolate* pIsolate = info.GetIsolate();
    std::string strLine;
    for (int i = 0; i < info.Length(); ++i) {
        std::string strText;
        if (!DisplayText(pIsolate, info[i], strText))
            return;  // the conversion's exception goes to the caller
        if (i > 0)
            strLine += ' ';
        strLine += strText;
    }
    strLine += '\n';
    std::fwrite(strLine.data(), 1, strLine.size(), pStream);
    std::fflush(pStream);
}

void Log(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    Print(info, stdout, "log");
}

void Error(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    std::fflush(stdout);
    Print(info, stderr, "error");
}

}  // namespace

void InstallConsole(v8::Local<v8::Context> context)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> console = v8::Object::New(pIsolate);
    SetFunction(context, console, "log", Log);
    SetFunction(context, console, "error", Error);
    context->Global()->Set(context, Bridge::NewText(pIsolate, "console"), console).Check();
}

}  // namespace Kite
