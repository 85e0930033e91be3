// The plug-in's entry and its script class "Tether".
#ifndef TETHER_TETHER_H
#define TETHER_TETHER_H

#include <vector>

#include <Bridge/ScriptBridge.h>

#include "PlayerAgent.h"

extern "C" TETHER_EXPORT std::vector<Bridge::ScriptBridge*> loadBridges();

namespace Tether {

class TETHER_EXPORT Tether : public Bridge::ScriptBridge {
public:
    Tether();
    virtual ~Tether();

    virtual const char* getScriptClassName() const;
    virtual void mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context);
    virtual void* constructFromScript(const Bridge::ScriptArray& args);
    virtual void destroyFromScript(void* native);

    // Delivers one callback record on the main loop; always answers 0.
    static int FireOnCallbacks(void* data);

    // One handler per script method; each passes the call to the agent's
    // command of the same name.
#define TETHER_DECLARE_HANDLER(name, handler, command, ...) \
    static Bridge::ScriptObject handler(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    TETHER_COMMANDS(TETHER_DECLARE_HANDLER)
#undef TETHER_DECLARE_HANDLER
};

}  // namespace Tether

#endif
