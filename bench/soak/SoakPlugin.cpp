// The soak's plug-in for kite: loading it makes every player a soak player
// (SoakPlayer.h), and its script class "SoakMeter" lets the soak script
// steer the events and read the process's resident size.
#include <Bridge/ClassBuilder.h>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "SoakPlayer.h"

#define SOAK_EXPORT __attribute__((visibility("default")))

namespace Soak {

class CSoakMeter {
public:
    // Events stop with the meter, at the latest when kite ends.
    ~CSoakMeter() { StopEvents(); }
};

}  // namespace Soak

BRIDGE_NATIVE_CLASS("SoakMeter", Soak::CSoakMeter);

namespace Soak {

namespace {

using Bridge::ScriptArray;
using Bridge::ScriptObject;

ScriptObject Number(double dValue)
{
    return ScriptObject(v8::Number::New(v8::Isolate::GetCurrent(), dValue).As<v8::Value>());
}

// residentKiB(): the resident set size, in KiB.
double ResidentKiB(CSoakMeter*)
{
    std::ifstream statm("/proc/self/statm");
    unsigned long ulSize = 0;
    unsigned long ulResident = 0;
    statm >> ulSize >> ulResident;
    return static_cast<double>(ulResident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

// memory(): where the memory is, in KiB: {residentAnon, v8Heap, mallocInUse,
// mallocHeld} (resident memory other than mapped files; V8's heap pages in
// use; what malloc handed out, and what it holds from the system).
ScriptObject Memory(CSoakMeter*, const ScriptArray&)
{
    // Resident memory that is not a mapped file: data rather than code.
    double dAnonKiB = 0;
    std::ifstream status("/proc/self/status");
    for (std::string strLine; std::getline(status, strLine);) {
        if (strLine.compare(0, 8, "RssAnon:") == 0)
            dAnonKiB = std::stod(strLine.substr(8));
    }
    v8::HeapStatistics heap;
    v8::Isolate::GetCurrent()->GetHeapStatistics(&heap);
    struct mallinfo2 info = mallinfo2();
    ScriptObject result;
    result.set("residentAnon", Number(dAnonKiB));
    result.set("v8Heap", Number(static_cast<double>(heap.total_physical_size()) / 1024.0));
    result.set("mallocInUse", Number(static_cast<double>(info.uordblks + info.hblkhd) / 1024.0));
    result.set("mallocHeld", Number(static_cast<double>(info.arena + info.hblkhd) / 1024.0));
    return result;
}

// trim(): hands the allocator's free memory back to the system, so that a
// reading shows what is in use rather than the peak of the event queue.
void Trim(CSoakMeter*)
{
    malloc_trim(0);
}

// startEvents(perSecond), stopEvents()
void Start(CSoakMeter*, double dRate)
{
    StartEvents(dRate > 0 && dRate < 1e7 ? static_cast<unsigned>(dRate) : 0);
}

void Stop(CSoakMeter*)
{
    StopEvents();
}

// fired(): events fired so far; players(): soak players alive.
double Fired(CSoakMeter*)
{
    return static_cast<double>(FiredEvents());
}

double Players(CSoakMeter*)
{
    return static_cast<double>(LivePlayers());
}

class CSoakMeterBridge : public Bridge::ClassBridge<CSoakMeter> {
public:
    CSoakMeterBridge() : ClassBridge("SoakMeter") {}

    void mapScriptInterface(ScriptContext& context) override
    {
        Bridge::ClassBuilder<CSoakMeter>(*this, context)
            .method<&ResidentKiB>("residentKiB")
            .method<&Memory>("memory")
            .method<&Trim>("trim")
            .method<&Start>("startEvents")
            .method<&Stop>("stopEvents")
            .method<&Fired>("fired")
            .method<&Players>("players");
    }
};

}  // namespace

}  // namespace Soak

extern "C" SOAK_EXPORT std::vector<Bridge::ScriptBridge*> loadBridges()
{
    // Whatever adapter kite chose, the players of this run are soak players.
    Soak::InstallSoakPlayers();
    static Soak::CSoakMeterBridge* s_pBridge = new Soak::CSoakMeterBridge();
    return {s_pBridge};
}
