#include "BenchScript.h"

#include <Cinecast/SimAdapter.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "QuietPlayer.h"

namespace TetherBench {

namespace {

const char* const s_pszQuietPart = R"JS(
var quiet = new Tether();
)JS";

const char* const s_pszSimulatedPart = R"JS(
var players = [new Tether(), new Tether(), new Tether(), new Tether()];
)JS";

const char* const s_pszCommonPart = R"JS(
var bare = new Bare();
var bareBridge = new BareBridge();
var seekArgs = {param_seek_to: 5000};
var handler = function (text) {};
function ourDuration(n) { for (var i = 0; i < n; i++) quiet.player_get_duration(); }
function ourSeek(n) { for (var i = 0; i < n; i++) quiet.player_seek_to(seekArgs); }
function ourAssign(n) { for (var i = 0; i < n; i++) quiet.onbuffering = handler; }
function bridgeDuration(n) { for (var i = 0; i < n; i++) bareBridge.player_get_duration(); }
function bridgeSeek(n) { for (var i = 0; i < n; i++) bareBridge.player_seek_to(seekArgs); }
// A bridge baseline that answered otherwise would not measure the same work.
function sameAnswer(ours, bridge) {
  if (JSON.stringify(ours) !== JSON.stringify(bridge))
    throw new Error('the bridge answers ' + JSON.stringify(bridge) + ', the plug-in ' + JSON.stringify(ours));
}
sameAnswer(quiet.player_get_duration(), bareBridge.player_get_duration());
sameAnswer(quiet.player_seek_to(seekArgs), bareBridge.player_seek_to(seekArgs));
function bareCall(n) { for (var i = 0; i < n; i++) bare.call(); }
function bareCallWithArgs(n) { for (var i = 0; i < n; i++) bare.call(seekArgs); }
function bareCallThree(n) { for (var i = 0; i < n; i++) bare.callThree(); }
function bareCallNaiveKey(n) { for (var i = 0; i < n; i++) bare.callNaive(); }
function bareAssign(n) { for (var i = 0; i < n; i++) bare.onbuffering = handler; }

var eventCount = 0, eventTarget = 0;
function expectEvents(n) { eventCount = 0; eventTarget = n; }
function countEvent(text) { if (++eventCount === eventTarget) done(); }
function stampOurs(text) { stamp(text, false); }
function stampBare(text) { stamp(text, true); }
for (var p of players) p.oncurrent_time = countEvent;
)JS";

CBenchRuntime* s_pRuntime = nullptr;
// The latencies of our path [0] and of the bare path [1].
std::vector<double> s_aStamps[2];
std::size_t s_uStampTarget = 0;

void Done(const v8::FunctionCallbackInfo<v8::Value>&)
{
    s_pRuntime->Quit();
}

void Stamp(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    uint32_t uNow = static_cast<uint32_t>(SteadyNanos());
    v8::String::Utf8Value text(info.GetIsolate(), info[0]);
    if (*text == nullptr)
        return;
    // The sender's clock, cut to its low 32 bits and read as signed; the
    // difference wraps correctly for anything under four seconds.
    uint32_t uSent = static_cast<uint32_t>(std::strtoll(*text, nullptr, 10));
    std::vector<double>& aStamps = s_aStamps[info[1]->IsTrue() ? 1 : 0];
    aStamps.push_back(static_cast<double>(static_cast<uint32_t>(uNow - uSent)));
    if (s_aStamps[0].size() >= s_uStampTarget && s_aStamps[1].size() >= s_uStampTarget)
        s_pRuntime->Quit();
}

}  // namespace

std::size_t InstallBenchScript(CBenchRuntime& runtime)
{
    s_pRuntime = &runtime;
    runtime.SetNative("done", Done);
    runtime.SetNative("stamp", Stamp);
    {
        CQuietPlayerScope quiet(runtime.Players().Factory());
        runtime.Run(s_pszQuietPart);
    }
    std::size_t uFirst = runtime.Players().count();
    runtime.Run(s_pszSimulatedPart);
    runtime.Run(s_pszCommonPart);
    return uFirst;
}

void ExpectStamps(std::size_t uCount)
{
    for (std::vector<double>& aStamps : s_aStamps) {
        aStamps.clear();
        aStamps.reserve(uCount);
    }
    s_uStampTarget = uCount;
}

std::vector<double> TakeStamps(bool bBare)
{
    std::vector<double> aTaken;
    aTaken.swap(s_aStamps[bBare ? 1 : 0]);
    return aTaken;
}

unsigned long long SteadyNanos()
{
    return static_cast<unsigned long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

}  // namespace TetherBench
