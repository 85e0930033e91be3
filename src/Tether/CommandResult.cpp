#include "CommandResult.h"

#include <Bridge/Engine.h>
#include <Bridge/KiteException.h>
#include <optional>

#include "ResultMakers.h"

namespace Tether {

namespace {

// The same object built property by property through the bridge, should
// the makers be unavailable.
Bridge::ScriptObject SetOneByOne(const int* aiValues, int iCount)
{
    static const char* const s_apszNames[] = {"return_ecode", "return_type", "return_data"};
    Bridge::ScriptObject result;
    for (int i = 0; i < iCount; ++i)
        result.set(s_apszNames[i], Bridge::ScriptObject(aiValues[i]));
    return result;
}

// aiValues: "return_ecode", then "return_type" and "return_data" for a query.
Bridge::ScriptObject Make(const int* aiValues, int iCount)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    // The context a new ScriptObject would be made in.
    bool bInContext = pIsolate->InContext();
    v8::Local<v8::Context> context =
        bInContext ? pIsolate->GetCurrentContext() : Bridge::Engine::GetContext(pIsolate);
    if (context.IsEmpty())
        return SetOneByOne(aiValues, iCount);
    std::optional<v8::Context::Scope> contextScope;
    if (!bInContext)
        contextScope.emplace(context);
    CResultMakers* pMakers = CResultMakers::For(pIsolate, context);
    if (pMakers == nullptr)
        return SetOneByOne(aiValues, iCount);

    v8::Local<v8::Object> copy;
    if (iCount == 1 && pMakers->CopyCommandResult(pIsolate, context, aiValues[0]).ToLocal(&copy))
        return Bridge::ScriptObject(copy);
    v8::Local<v8::Function> maker = iCount == 1 ? pMakers->CommandMaker(pIsolate) : pMakers->QueryMaker(pIsolate);
    v8::Local<v8::Value> aArguments[3];
    for (int i = 0; i < iCount; ++i)
        aArguments[i] = v8::Integer::New(pIsolate, aiValues[i]);
    v8::Local<v8::Value> result;
    // As with ScriptObject::set, an assignment that threw leaves the
    // exception pending for the script.
    if (!maker->Call(context, v8::Undefined(pIsolate), iCount, aArguments).ToLocal(&result))
        throw Bridge::ScriptExceptionPending();
    return Bridge::ScriptObject(result);
}

}  // namespace

Bridge::ScriptObject MakeCommandResult(int iErrorCode)
{
    // A fresh object every time: scripts may change what they were given.
    const int aiValues[] = {iErrorCode};
    return Make(aiValues, 1);
}

Bridge::ScriptObject MakeQueryResult(int iValue)
{
    const int aiValues[] = {COMMAND_SUCCESS, RETURN_TYPE_INT, iValue};
    return Make(aiValues, 3);
}

void ReleaseResultMakers()
{
    CResultMakers::Release();
}

}  // namespace Tether
