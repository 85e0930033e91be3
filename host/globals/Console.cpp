#include <cstdio>
#include <glib.h>

#include "console/ConsoleText.h"
#include "console/ScriptValues.h"
#include "globals/Console.h"
#include "runtime/KiteRun.h"

namespace Kite {

namespace {

std::vector<v8::Local<v8::Value>> Arguments(const v8::FunctionCallbackInfo<v8::Value>& info, int iFirst)
{
    std::vector<v8::Local<v8::Value>> aArguments;
    for (int i = iFirst; i < info.Length(); ++i)
        aArguments.push_back(info[i]);
    return aArguments;
}

void Write(std::FILE* pStream, std::string strLine)
{
    // What went to stdout before a line on stderr comes first.
    if (pStream == stderr)
        std::fflush(stdout);
    strLine += '\n';
    std::fwrite(strLine.data(), 1, strLine.size(), pStream);
    std::fflush(pStream);
}

// Every method begins here: false when the run is ending (kite.quit stops
// the script only at its next function call). A client of the inspector
// sees the call too, with its place in the script.
bool Begin(const v8::FunctionCallbackInfo<v8::Value>& info, const char* pszMethod)
{
    CKiteRun& run = CKiteRun::Of(info.GetIsolate());
    if (run.m_bQuitRequested)
        return false;
    if (run.m_pDebugger != nullptr)
        run.m_pDebugger->ConsoleCall(info, pszMethod);
    return true;
}

// The arguments as one line; nothing when formatting threw (the exception
// goes to the caller).
void Print(const v8::FunctionCallbackInfo<v8::Value>& info, std::FILE* pStream)
{
    std::string strLine;
    if (FormatConsoleArguments(info.GetIsolate()->GetCurrentContext(), Arguments(info, 0), strLine))
        Write(pStream, strLine);
}

void Log(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (Begin(info, "log"))
        Print(info, stdout);
}

void Info(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (Begin(info, "info"))
        Print(info, stdout);
}

void Debug(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (Begin(info, "debug"))
        Print(info, stdout);
}

void Warn(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (Begin(info, "warn"))
        Print(info, stderr);
}

void Error(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (Begin(info, "error"))
        Print(info, stderr);
}

// "Trace: message" and the stack of the call, on stderr.
void Trace(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (!Begin(info, "trace"))
        return;
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    std::string strMessage;
    if (!FormatConsoleArguments(context, Arguments(info, 0), strMessage))
        return;
    v8::Local<v8::Value> error;
    // A message over V8's string limit throws a RangeError instead.
    if (!Bridge::GuardNative(pIsolate, [&] { error = v8::Exception::Error(Bridge::NewText(pIsolate, strMessage)); }))
        return;
    v8::Local<v8::Value> stack;
    if (!error.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "stack")).ToLocal(&stack))
        return;
    std::string strStack = stack->IsString() ? TextOfValue(pIsolate, stack) : std::string("Error");
    // The stack names the Error made here; it is a trace.
    if (strStack.compare(0, 5, "Error") == 0)
        strStack.replace(0, 5, "Trace");
    Write(stderr, strStack);
}

// Nothing when the value is truthy; else "Assertion failed: " and the
// first value's text make the line's format, as console.error prints it.
void Assert(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!Begin(info, "assert") || info[0]->BooleanValue(pIsolate))
        return;
    std::vector<v8::Local<v8::Value>> aArguments = Arguments(info, 1);
    std::string strFirst = "Assertion failed";
    if (!aArguments.empty()) {
        std::string strText;
        if (aArguments[0]->IsSymbol()) {
            Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR, "Cannot convert a Symbol value to a string");
            return;
        }
        if (!DisplayText(pIsolate, aArguments[0], strText))
            return;
        strFirst += ": " + strText;
        aArguments.erase(aArguments.begin());
    }
    if (!Bridge::GuardNative(pIsolate,
                             [&] { aArguments.insert(aArguments.begin(), Bridge::NewText(pIsolate, strFirst)); }))
        return;
    std::string strLine;
    if (FormatConsoleArguments(pIsolate->GetCurrentContext(), aArguments, strLine))
        Write(stderr, strLine);
}

// The label: "default" when none is given; false when String(label) threw.
bool Label(const v8::FunctionCallbackInfo<v8::Value>& info, std::string& strLabel)
{
    if (info[0]->IsUndefined()) {
        strLabel = "default";
        return true;
    }
    if (info[0]->IsSymbol()) {
        Bridge::ThrowScriptError(info.GetIsolate(), Bridge::ScriptError::TYPE_ERROR, "Cannot convert a Symbol value to a string");
        return false;
    }
    return DisplayText(info.GetIsolate(), info[0], strLabel);
}

void Count(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    std::string strLabel;
    if (!Begin(info, "count") || !Label(info, strLabel))
        return;
    Write(stdout, strLabel + ": " + std::to_string(++CKiteRun::Of(info.GetIsolate()).m_consoleCounts[strLabel]));
}

void Time(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    std::string strLabel;
    if (!Begin(info, "time") || !Label(info, strLabel))
        return;
    CKiteRun& run = CKiteRun::Of(info.GetIsolate());
    if (run.m_consoleTimers.count(strLabel) != 0) {
        Write(stderr, "kite: warning: Label '" + strLabel + "' already exists for console.time()");
        return;
    }
    run.m_consoleTimers[strLabel] = run.m_clock.NowUs();
}

void TimeEnd(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    std::string strLabel;
    if (!Begin(info, "timeEnd") || !Label(info, strLabel))
        return;
    CKiteRun& run = CKiteRun::Of(info.GetIsolate());
    auto it = run.m_consoleTimers.find(strLabel);
    if (it == run.m_consoleTimers.end()) {
        Write(stderr, "kite: warning: No such label '" + strLabel + "' for console.timeEnd()");
        return;
    }
    double dElapsed = static_cast<double>(run.m_clock.NowUs() - it->second) / 1000.0;
    run.m_consoleTimers.erase(it);
    Write(stdout, strLabel + ": " + DurationText(dElapsed));
}

}  // namespace

void InstallConsole(v8::Local<v8::Context> context)
{
    static const struct {
        const char* m_pszName;
        v8::FunctionCallback m_callback;
    } METHODS[] = {{"log", Log},     {"info", Info},   {"debug", Debug}, {"warn", Warn},
                   {"error", Error}, {"trace", Trace}, {"assert", Assert}, {"count", Count},
                   {"time", Time},   {"timeEnd", TimeEnd}};
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> console = v8::Object::New(pIsolate);
    for (const auto& method : METHODS)
        SetFunction(context, console, method.m_pszName, method.m_callback);
    context->Global()->Set(context, Bridge::NewText(pIsolate, "console"), console).Check();
}

}  // namespace Kite
