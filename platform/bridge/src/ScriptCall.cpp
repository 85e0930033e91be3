#include "ScriptCall.h"

#include <cstdio>
#include <vector>

#include "Bridge/ScriptArray.h"
#include "Bridge/ScriptFunction.h"
#include "Bridge/Converter.h"
#include "Bridge/KiteException.h"
#include "IsolateData.h"

namespace Bridge {

void ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    v8::HandleScope scope(pIsolate);
    IsolateData* pData = IsolateData::From(pIsolate);
    if (pData != nullptr && pData->m_uncaughtHandler != nullptr) {
        pData->m_uncaughtHandler(pIsolate, tryCatch.Exception(), tryCatch.Message());
        return;
    }
    v8::Local<v8::Value> exception = tryCatch.Exception();
    std::string strText = "(unknown)";
    v8::Local<v8::String> text;
    if (!exception.IsEmpty() && Compat::ToString(pIsolate->GetCurrentContext(), exception).ToLocal(&text))
        strText = TextOf(pIsolate, text);
    std::fprintf(stderr, "Uncaught %s\n", strText.c_str());
}

namespace {

// The steps of every call of a held function: its value is read by
// heldValue, its iCount arguments are written by fill, in the caller's
// scopes.
template <typename THeld, typename TFill>
ScriptObject CallHeld(THeld heldValue, int iCount, TFill fill)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (pIsolate == nullptr)
        return ScriptObject(v8::Local<v8::Value>());
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> value = heldValue(pIsolate);
    if (!context.valid() || value.IsEmpty() || !value->IsFunction())
        return ScriptObject::Null();

    // From here on nothing reads the held function: the script may destroy
    // the slot that holds it while it runs.
    v8::Local<v8::Function> function = value.As<v8::Function>();
    // Events pass at most one argument: no heap for them.
    v8::Local<v8::Value> aInline[4];
    std::vector<v8::Local<v8::Value>> aHeap;
    v8::Local<v8::Value>* argv = aInline;
    if (iCount > 4) {
        aHeap.resize(static_cast<std::size_t>(iCount));
        argv = aHeap.data();
    }
    {
        // An argument that cannot become a script value (a text over V8's
        // limit) fails the call as a script exception would.
        Compat::TryCatch fillCatch(pIsolate);
        try {
            fill(pIsolate, argv);
        } catch (...) {
            ThrowCaughtInScript(pIsolate);
        }
        if (fillCatch.HasCaught()) {
            ReportUncaught(pIsolate, fillCatch);
            return ScriptObject::Null();
        }
    }

    Compat::TryCatch tryCatch(pIsolate);
    // What is caught here is reported as uncaught, and a debugger's "pause
    // on uncaught exceptions" sees it so only through a verbose TryCatch.
    tryCatch.SetVerbose(true);
    IsolateData* pData = IsolateData::From(pIsolate);
    const CallbackCalling calling = pData != nullptr ? pData->m_callbackCalling : nullptr;
    if (calling != nullptr)
        calling(pIsolate, function, true);
    v8::Local<v8::Value> result;
    bool bReturned = Compat::Call(context.context(), function, v8::Undefined(pIsolate), iCount, argv).ToLocal(&result);
    if (calling != nullptr)
        calling(pIsolate, function, false);
    if (!bReturned) {
        if (tryCatch.HasCaught() && tryCatch.CanContinue())
            ReportUncaught(pIsolate, tryCatch);
        return ScriptObject::Null();
    }
    return ScriptObject(result);
}

}  // namespace

ScriptObject ScriptFunction::invoke(ScriptArray args) const
{
    const int iCount = args.Length();
    return CallHeld([this](v8::Isolate* pIsolate) { return valueIn(pIsolate); }, iCount,
                    [&args, iCount](v8::Isolate* pIsolate, v8::Local<v8::Value>* argv) {
                        // The arguments are read in place.
                        for (int i = 0; i < iCount; ++i) {
                            v8::Local<v8::Value> argument = args.m_pArguments != nullptr
                                                                ? (*args.m_pArguments)[i]
                                                                : args.element(i).valueIn(pIsolate);
                            argv[i] = argument.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : argument;
                        }
                    });
}

ScriptObject ScriptFunction::invoke(const std::string& strArgument) const
{
    return CallHeld([this](v8::Isolate* pIsolate) { return valueIn(pIsolate); }, 1,
                    [&strArgument](v8::Isolate* pIsolate, v8::Local<v8::Value>* argv) {
                        argv[0] = NewText(pIsolate, strArgument);
                    });
}

}  // namespace Bridge
