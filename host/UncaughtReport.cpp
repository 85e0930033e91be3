#include "UncaughtReport.h"

#include <Bridge/Engine.h>
#include <cstdio>

#include "HostState.h"
#include "Inspector.h"
#include "ScriptValues.h"

namespace Kite {

namespace {

UncaughtDivert s_divert = nullptr;

void Print(v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message> message,
           const std::string& strPrefix)
{
    CHostState& state = CHostState::Get();
    // A quit unwinds the script with an exception of its own: not an error.
    if (state.m_bQuitRequested || pIsolate->IsExecutionTerminating())
        return;
    if (s_divert != nullptr && s_divert(pIsolate, exception.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : exception))
        return;
    state.m_bHadUncaught = true;
    std::string strReport = DescribeUncaught(pIsolate, exception, message, strPrefix);
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", strReport.c_str());
    std::fflush(stderr);
    InspectorUncaught(strPrefix.substr(0, strPrefix.find_last_not_of(' ') + 1), exception, message);
}

void PrintUncaught(v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message> message)
{
    Print(pIsolate, exception, message, "Uncaught ");
}

}  // namespace

void ReportUncaughtValue(v8::Isolate* pIsolate, const std::string& strPrefix, v8::Local<v8::Value> value)
{
    Print(pIsolate, value, v8::Local<v8::Message>(), strPrefix);
}

void DivertUncaught(UncaughtDivert divert)
{
    s_divert = divert;
}

void InstallUncaughtReport()
{
    Bridge::Engine::SetUncaughtHandler(PrintUncaught);
}

void ReportIfCaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    if (!tryCatch.HasCaught() || tryCatch.HasTerminated())
        return;
    Bridge::Engine::ReportUncaught(pIsolate, tryCatch);
}

std::string DescribeUncaught(v8::Isolate* pIsolate, v8::Local<v8::Value> exception,
                             v8::Local<v8::Message> message, const std::string& strPrefix)
{
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    if (exception.IsEmpty())
        return strPrefix + "exception";

    if (exception->IsObject()) {
        v8::TryCatch guard(pIsolate);
        v8::Local<v8::Value> stack;
        if (exception.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "stack")).ToLocal(&stack) &&
            stack->IsString())
            return strPrefix + Bridge::TextOf(pIsolate, stack.As<v8::String>());
    }

    std::string strText;
    {
        v8::TryCatch guard(pIsolate);
        if (!DisplayText(pIsolate, exception, strText))
            strText = "(a value that cannot be shown)";
    }
    std::string strReport = strPrefix + strText;
    if (!message.IsEmpty()) {
        std::string strWhere;
        DisplayText(pIsolate, message->GetScriptResourceName(), strWhere);
        int iLine = message->GetLineNumber(context).FromMaybe(0);
        strReport += "\n    at " + strWhere + ":" + std::to_string(iLine);
    }
    return strReport;
}

}  // namespace Kite
