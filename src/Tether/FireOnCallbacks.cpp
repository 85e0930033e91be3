#include <utility>

#include "CallbackRecord.h"
#include "HandOverAnnotations.h"
#include "LiveAgents.h"
#include "Tether.h"
#include "TetherLog.h"

namespace Tether {

namespace {

bool HoldsFunction(const Bridge::ScriptFunction& slot)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    v8::Local<v8::Value> value = slot.getValue();
    return !value.IsEmpty() && value->IsFunction();
}

}  // namespace

int Tether::FireOnCallbacks(void* data)
{
    LOG_ENTER();
    if (data == nullptr) {
        LOG_W("Got the callbackData is NULL");
        return 0;
    }
    TETHER_HAND_OVER_RECEIVE();
    CallbackRecord* callbackData = static_cast<CallbackRecord*>(data);

    // A record that outlived its agent points into freed memory: it is only
    // released.
    if (LiveAgents::IsLive(callbackData->agent_serial) && HoldsFunction(*callbackData->js_callback)) {
        Bridge::ScriptArray args;
        if (!callbackData->argument.empty())
            args.set(0, Bridge::ScriptObject(std::string(callbackData->argument)));
        LOG_W("Ready to callbackData->js_callback.invoke");
        // The list is not used again: handed over rather than copied.
        callbackData->js_callback->invoke(std::move(args));
    }
    delete callbackData;
    LOG_LEAVE();
    return 0;
}

}  // namespace Tether
