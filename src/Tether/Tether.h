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

    static Bridge::ScriptObject HandleCreate(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSetURI(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandlePrepare(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandlePrepareAsync(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSetOutputArea(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSetStreamingProperty(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandlePause(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleResume(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleStop(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandlePlay(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSeekTo(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSkip(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleGetDuration(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleGetCurrentPosition(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleGetPlayerState(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleRegisterSoundAnalysisListener(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSuspend(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleRestore(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleClose(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
    static Bridge::ScriptObject HandleSetPartyTVMode(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs);
};

}  // namespace Tether

#endif
