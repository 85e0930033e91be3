#include "runtime/UncaughtReport.h"

#include <Bridge/Engine.h>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "console/Inspect.h"
#include "console/ScriptValues.h"
#include "runtime/KiteRun.h"

namespace Kite {

namespace {

// "FILE:LINE", the source line and a caret under the place, as Node shows
// them above an uncaught error; empty when the message names no script.
std::string SourceHeader(v8::Isolate* pIsolate, v8::Local<v8::Message> message)
{
    if (message.IsEmpty())
        return std::string();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::Local<v8::Value> name = message->GetScriptResourceName();
    int iLine = message->GetLineNumber(context).FromMaybe(0);
    v8::Local<v8::String> source;
    if (!name->IsString() || name.As<v8::String>()->Length() == 0 || iLine <= 0 ||
        !message->GetSourceLine(context).ToLocal(&source))
        return std::string();
    int iStart = message->GetStartColumn(context).FromMaybe(0);
    int iEnd = message->GetEndColumn(context).FromMaybe(0);
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(source->Length()) + 1);
    source->Write(pIsolate, aUnits.data(), 0, source->Length(), v8::String::NO_NULL_TERMINATION);
    // Tabs stay tabs, so that the caret lines up wherever tab stops are.
    std::string strCaret;
    for (int i = 0; i < iStart && i < source->Length(); ++i) {
        bool bSecondHalf = aUnits[static_cast<std::size_t>(i)] >= 0xDC00 && aUnits[static_cast<std::size_t>(i)] <= 0xDFFF;
        if (!bSecondHalf)
            strCaret += aUnits[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    }
    strCaret += std::string(static_cast<std::size_t>(std::max(1, iEnd - iStart)), '^');
    std::string strPlace = CKiteRun::Of(pIsolate).ShownPath(TextOfValue(pIsolate, name)) + ":" + std::to_string(iLine);
    return strPlace + "\n" + TextOfValue(pIsolate, source) + "\n" + strCaret + "\n";
}

void Print(v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message> message,
           const std::string& strPrefix)
{
    CKiteRun& run = CKiteRun::Of(pIsolate);
    // A quit unwinds the script with an exception of its own: not an error.
    if (run.m_bQuitRequested || pIsolate->IsExecutionTerminating())
        return;
    if (run.m_divertUncaught && run.m_divertUncaught(exception.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : exception))
        return;
    run.m_bHadUncaught = true;
    std::string strReport = DescribeUncaught(pIsolate, exception, message, strPrefix);
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", strReport.c_str());
    std::fflush(stderr);
    if (run.m_pDebugger != nullptr)
        run.m_pDebugger->Uncaught(strPrefix.substr(0, strPrefix.find_last_not_of(' ') + 1), exception, message);
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
    // A rejected promise's error names the place it was made.
    if (message.IsEmpty() && exception->IsNativeError())
        message = v8::Exception::CreateMessage(pIsolate, exception);
    std::string strHeader = SourceHeader(pIsolate, message);
    if (!strHeader.empty() && exception->IsNativeError())
        strHeader += "\n";
    std::string strText;
    v8::TryCatch guard(pIsolate);
    if (exception->IsString())
        strText = TextOfValue(pIsolate, exception);
    else if (!InspectValue(context, exception, CInspectOptions(), strText) &&
             !DisplayText(pIsolate, exception, strText))
        strText = "(a value that cannot be shown)";
    return strHeader + strPrefix + strText;
}

std::string DescribeCompileError(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    v8::HandleScope scope(pIsolate);
    std::string strText = "SyntaxError";
    if (!tryCatch.Exception().IsEmpty()) {
        v8::TryCatch guard(pIsolate);
        DisplayText(pIsolate, tryCatch.Exception(), strText);
    }
    std::string strHeader = SourceHeader(pIsolate, tryCatch.Message());
    return strHeader + (strHeader.empty() ? "" : "\n") + strText;
}

}  // namespace Kite
