// The commands: for each case, its answer, the adapter call and the whole
// log of the call, each written out in its row; the script fuzzer's model
// agrees with every row; then the agent's own life (construction, state,
// close, no adapter).
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const listener = () => { throw new Error("the listener function is never called"); };

// [method, arguments, the agent's function, what the adapter answers,
//  return_ecode, the adapter call as the simulated player records it (null:
//  none), the agent's lines (priority and payload) from its ENTER to its
//  closing line]. The handler's ENTER comes before them.
const CASES = [
  ["player_create", [], "Create", true, 0, "create()",
   ["3 ENTER!!!", "4 param length is 0", "5 strCmd[player_create] ErrorCode[0]"]],
  ["player_create", [], "Create", false, -1, "create()",
   ["3 ENTER!!!", "4 param length is 0", "5 strCmd[player_create] ErrorCode[-1]"]],
  ["player_set_uri", [], "SetURI", true, -2, null,
   ["3 ENTER!!!", "4 param length is 0", "5 Invalid param. aArgs.Length() < 1 ",
    "5 strCmd[player_set_uri] ErrorCode[-2]"]],
  ["player_set_uri", [{ param_url: "http://host/a.mp4" }, 7], "SetURI", true, 0, 'setUri("http://host/a.mp4")',
   ["3 ENTER!!!", "4 param length is 2", "5 Get the URL is http://host/a.mp4!!!",
    "5 strCmd[player_set_uri] ErrorCode[0]"]],
  ["player_set_uri", [{ param_url: "http://host/a.mp4" }, 7], "SetURI", false, -1, 'setUri("http://host/a.mp4")',
   ["3 ENTER!!!", "4 param length is 2", "5 Get the URL is http://host/a.mp4!!!",
    "5 m_pCinecasterAdapter->open failed!!!", "5 strCmd[player_set_uri] ErrorCode[-1]"]],
  ["player_set_uri", [{}], "SetURI", true, 0, 'setUri("")',
   ["3 ENTER!!!", "4 param length is 1", "5 Get the URL is !!!", "5 strCmd[player_set_uri] ErrorCode[0]"]],
  ["player_set_uri", [{ param_url: 5 }], "SetURI", true, 0, 'setUri("")',
   ["3 ENTER!!!", "4 param length is 1", "5 Get the URL is !!!", "5 strCmd[player_set_uri] ErrorCode[0]"]],
  ["player_set_uri", [{ param_url: "x\u00e9" }], "SetURI", true, 0, 'setUri("x\u00e9")',
   ["3 ENTER!!!", "4 param length is 1", "5 Get the URL is x\u00e9!!!", "5 strCmd[player_set_uri] ErrorCode[0]"]],
  ["player_prepare", [{ param_x: 1 }, 2], "Prepare", true, 0, "prepare()",
   ["3 ENTER!!!", "5 strCmd[player_prepare] ErrorCode[0]"]],
  ["player_prepare", [{ param_x: 1 }, 2], "Prepare", false, -1, "prepare()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->prepare failed!!!", "5 strCmd[player_prepare] ErrorCode[-1]"]],
  ["player_prepare_async", [], "PrepareAsync", true, 0, "registerPrepareListener(null)",
   ["3 ENTER!!!", "5 strCmd[player_prepare_async] ErrorCode[0]"]],
  ["player_prepare_async", [], "PrepareAsync", false, -1, "registerPrepareListener(null)",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->prepareasync failed!!!", "5 strCmd[player_prepare_async] ErrorCode[-1]"]],
  ["player_set_output_area", [{ x: 1 }, 2], "SetOutputArea", true, 0, null,
   ["3 ENTER!!!", "5 Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.", "3 LEAVE!!!",
    "5 strCmd[player_set_output_area] ErrorCode[0]"]],
  ["player_set_streaming_property", [], "SetStreamingProperty", true, -2, null,
   ["3 ENTER!!!", "4 param length is 0", "5 Invalid param. aArgs.Length() < 1 ",
    "5 strCmd[player_set_streaming_property] ErrorCode[-2]"]],
  ["player_set_streaming_property", [{ param_property_type: "T" }, { param_property_param: "P" }],
   "SetStreamingProperty", true, 0, 'setStreamingProperty("T","P")',
   ["3 ENTER!!!", "4 param length is 2", "3 Get streaming property type is : T , param is : P !!!", "3 LEAVE!!!",
    "5 strCmd[player_set_streaming_property] ErrorCode[0]"]],
  ["player_set_streaming_property", [{ param_property_type: "T" }, { param_property_param: "P" }],
   "SetStreamingProperty", false, -1, 'setStreamingProperty("T","P")',
   ["3 ENTER!!!", "4 param length is 2", "3 Get streaming property type is : T , param is : P !!!",
    "5 m_pCinecasterAdapter->setStreamingProperty failed!!!", "5 strCmd[player_set_streaming_property] ErrorCode[-1]"]],
  ["player_set_streaming_property", [{ param_property_type: "T", param_property_param: "in 0" }],
   "SetStreamingProperty", true, 0, 'setStreamingProperty("T","")',
   ["3 ENTER!!!", "4 param length is 1", "3 Get streaming property type is : T , param is :  !!!", "3 LEAVE!!!",
    "5 strCmd[player_set_streaming_property] ErrorCode[0]"]],
  ["player_pause", [], "Pause", true, 0, "Pause()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_pause] ErrorCode[0]"]],
  ["player_pause", [], "Pause", false, -1, "Pause()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->Pause failed!!!", "5 strCmd[player_pause] ErrorCode[-1]"]],
  ["player_resume", [1], "Resume", true, 0, "play()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_resume] ErrorCode[0]"]],
  ["player_resume", [1], "Resume", false, -1, "play()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->play failed!!!", "5 strCmd[player_resume] ErrorCode[-1]"]],
  ["player_stop", [], "Stop", true, 0, "Stop()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_stop] ErrorCode[0]"]],
  ["player_stop", [], "Stop", false, -1, "Stop()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->Stop failed!!!", "5 strCmd[player_stop] ErrorCode[-1]"]],
  ["player_play", [], "Play", true, 0, "play()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_play] ErrorCode[0]"]],
  ["player_play", [], "Play", false, -1, "play()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->play failed!!!", "5 strCmd[player_play] ErrorCode[-1]"]],
  ["player_seek_to", [], "SeekTo", true, -2, null,
   ["3 ENTER!!!", "5 Invalid param. aArgs.Length() < 1 ", "5 strCmd[player_seek_to] ErrorCode[-2]"]],
  ["player_seek_to", [5000], "SeekTo", true, 0, "seekTo(0,null)",
   ["3 ENTER!!!", "3 Get seek to param is 0.000000 !!!", "3 LEAVE!!!", "5 strCmd[player_seek_to] ErrorCode[0]"]],
  ["player_seek_to", [5000], "SeekTo", false, -1, "seekTo(0,null)",
   ["3 ENTER!!!", "3 Get seek to param is 0.000000 !!!", "5 m_pCinecasterAdapter->seekTo!!!",
    "5 strCmd[player_seek_to] ErrorCode[-1]"]],
  ["player_seek_to", [{ param_seek_to: 250.9 }], "SeekTo", true, 0, "seekTo(250,null)",
   ["3 ENTER!!!", "3 Get seek to param is 250.900000 !!!", "3 LEAVE!!!", "5 strCmd[player_seek_to] ErrorCode[0]"]],
  ["player_skip", [], "Skip", true, -2, null,
   ["3 ENTER!!!", "5 Invalid param. aArgs.Length() < 1 ", "5 strCmd[player_skip] ErrorCode[-2]"]],
  ["player_skip", [{ param_skip: -30.5 }], "Skip", true, 0, "Skip(-30,null)",
   ["3 ENTER!!!", "3 Get seek to param is -30 !!!", "3 LEAVE!!!", "5 strCmd[player_skip] ErrorCode[0]"]],
  ["player_skip", [{ param_skip: -30.5 }], "Skip", false, -1, "Skip(-30,null)",
   ["3 ENTER!!!", "3 Get seek to param is -30 !!!", "5 m_pCinecasterAdapter->Skip!!!",
    "5 strCmd[player_skip] ErrorCode[-1]"]],
  ["player_register_sound_analysis_listener", [listener], "RegisterSoundAnalysisListener", true, -2, null,
   ["3 ENTER!!!", "5 Invalid param. aArgs.Length() <= 1 ",
    "5 strCmd[player_register_sound_analysis_listener] ErrorCode[-2]"]],
  ["player_register_sound_analysis_listener", ["f", listener], "RegisterSoundAnalysisListener", true, -2, null,
   ["3 ENTER!!!", "5 Invalid param. aArgs.Length() <= 1 ",
    "5 strCmd[player_register_sound_analysis_listener] ErrorCode[-2]"]],
  ["player_register_sound_analysis_listener", [listener, undefined],
   "RegisterSoundAnalysisListener", true, 0, "registerSoundAnalysisListener(null)",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_register_sound_analysis_listener] ErrorCode[0]"]],
  ["player_register_sound_analysis_listener", [listener, undefined],
   "RegisterSoundAnalysisListener", false, -1, "registerSoundAnalysisListener(null)",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->registerSoundAnalysisListener!!!",
    "5 strCmd[player_register_sound_analysis_listener] ErrorCode[-1]"]],
  ["player_register_sound_analysis_listener", [listener, 1, 2],
   "RegisterSoundAnalysisListener", true, 0, "registerSoundAnalysisListener(null)",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_register_sound_analysis_listener] ErrorCode[0]"]],
  ["player_suspend", [], "Suspend", true, -2, null,
   ["3 ENTER!!!", "5 Invalid param. aArgs.Length() < 1 ", "5 strCmd[player_suspend] ErrorCode[-2]"]],
  ["player_suspend", [undefined], "Suspend", true, 0, "suspend()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_suspend] ErrorCode[0]"]],
  ["player_suspend", [undefined], "Suspend", false, -1, "suspend()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->suspend failed!!!", "5 strCmd[player_suspend] ErrorCode[-1]"]],
  ["player_restore", [], "Restore", true, -2, null,
   ["3 ENTER!!!", "5 aArgs.Length() < 1 , use default parameter", "5 strCmd[player_restore] ErrorCode[-2]"]],
  ["player_restore", [{}], "Restore", true, 0, 'restore("",0,false)',
   ["3 ENTER!!!", "5 Use the parameters which got from aArgs, restore_url:, resumetime:0.000000, prepare:0 ",
    "3 LEAVE!!!", "5 strCmd[player_restore] ErrorCode[0]"]],
  ["player_restore", [{}], "Restore", false, -1, 'restore("",0,false)',
   ["3 ENTER!!!", "5 Use the parameters which got from aArgs, restore_url:, resumetime:0.000000, prepare:0 ",
    "5 m_pCinecasterAdapter->restore failed!!!", "5 strCmd[player_restore] ErrorCode[-1]"]],
  ["player_restore", [{ param_restore_url: "r", param_restore_resume_time: 250.9, param_restore_prepare: true }],
   "Restore", true, 0, 'restore("r",250,true)',
   ["3 ENTER!!!", "5 Use the parameters which got from aArgs, restore_url:r, resumetime:250.900000, prepare:1 ",
    "3 LEAVE!!!", "5 strCmd[player_restore] ErrorCode[0]"]],
  ["player_restore", [{ param_restore_url: 5, param_restore_prepare: 1 }], "Restore", true, 0, 'restore("",0,false)',
   ["3 ENTER!!!", "5 Use the parameters which got from aArgs, restore_url:, resumetime:0.000000, prepare:0 ",
    "3 LEAVE!!!", "5 strCmd[player_restore] ErrorCode[0]"]],
  ["player_close", [1, 2], "Close", true, 0, "close()",
   ["3 ENTER!!!", "3 LEAVE!!!", "5 strCmd[player_close] ErrorCode[0]"]],
  ["player_close", [1, 2], "Close", false, -1, "close()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->close failed!!!", "5 strCmd[player_close] ErrorCode[-1]"]],
  ["player_set_party_tv_mode", [], "SetPartyTVMode", true, 0, "SetSoundAnalysis(false)",
   ["3 ENTER!!!", "4 param length is 0", "5 Invalid param. aArgs.Length() < 1 ", "3 LEAVE!!!",
    "5 strCmd[player_set_party_tv_mode] ErrorCode[0]"]],
  ["player_set_party_tv_mode", [], "SetPartyTVMode", false, -1, "SetSoundAnalysis(false)",
   ["3 ENTER!!!", "4 param length is 0", "5 Invalid param. aArgs.Length() < 1 ",
    "5 m_pCinecasterAdapter->SetSoundAnalysis failed!!!", "5 strCmd[player_set_party_tv_mode] ErrorCode[-1]"]],
  ["player_set_party_tv_mode", ["on", 2], "SetPartyTVMode", true, 0, "SetSoundAnalysis(false)",
   ["3 ENTER!!!", "4 param length is 2", "3 Get aArgs[0] is 'on'!!!", "5 Get the party mode is 0!!!", "3 LEAVE!!!",
    "5 strCmd[player_set_party_tv_mode] ErrorCode[0]"]],
  ["player_set_party_tv_mode", [{ param_party_mode: true }], "SetPartyTVMode", true, 0, "SetSoundAnalysis(true)",
   ["3 ENTER!!!", "4 param length is 1", "5 Get the party mode is 1!!!", "3 LEAVE!!!",
    "5 strCmd[player_set_party_tv_mode] ErrorCode[0]"]],
  ["player_set_party_tv_mode", [{ param_party_mode: "yes" }], "SetPartyTVMode", true, 0, "SetSoundAnalysis(false)",
   ["3 ENTER!!!", "4 param length is 1", "5 Get the party mode is 0!!!", "3 LEAVE!!!",
    "5 strCmd[player_set_party_tv_mode] ErrorCode[0]"]],
  ["player_get_duration", [], "GetDuration", false, -1, "GetDuration()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->GetDuration failed!!!", "5 strCmd[player_get_duration] ErrorCode[-1]"]],
  ["player_get_current_position", [], "GetCurrentPosition", false, -1, "GetCurrentPosition()",
   ["3 ENTER!!!", "5 m_pCinecasterAdapter->GetCurrentPosition failed!!!",
    "5 strCmd[player_get_current_position] ErrorCode[-1]"]],
];

// The log a row states: the handler's ENTER, then the agent's lines in its
// function's frame.
function logOfRow(func, lines) {
  return ["3 Handle" + func + " ENTER!!!"].concat(lines.map((line) => line[0] + " " + func + line.slice(1)));
}

// The adapter operation of a recorded call, as sim.answer names it.
const operationOf = (call) => call.slice(0, call.indexOf("("));

check("each case: its answer, adapter call and log", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  for (const [name, args, func, accepts, ecode, call, lines] of CASES) {
    const what = name + "(" + args.map(String) + ") " + (accepts ? "accepted" : "refused");
    if (call !== null) sim.answer(adapter, operationOf(call), accepts);
    let result;
    const logged = logOf(() => { result = player[name](...args); });
    assertEqual(result, { return_ecode: ecode }, what);
    assertEqual(newCalls(), call === null ? [] : [call], what + ": adapter call");
    assertEqual(logged, logOfRow(func, lines), what + ": log");
    if (call !== null) sim.answer(adapter, operationOf(call), true);
  }
  // Sound-analysis results go to onsound_analysis only; done() waits for them.
  assertEqual(sim.emit(adapter, sim.SOUND_ANALYSIS, [1, 2]), true);
});

check("the script fuzzer's model agrees with every row", () => {
  kite.load("../../fuzz/script/model.js");
  const isObject = (value) => (typeof value === "object" && value !== null) || typeof value === "function";
  for (const [name, args, func, accepts, ecode, call, lines] of CASES) {
    const what = name + "(" + args.map(String) + ") " + (accepts ? "accepted" : "refused");
    const method = FuzzModel.METHODS[name];
    const values = FuzzModel.readsOf(name, args)
      .map(([index, key, kind]) => FuzzModel.READ[kind](isObject(args[index]) ? args[index][key] : undefined));
    const expected = FuzzModel.expectedAnswer(name, args, values, { adapter: 0, answers: { [method.operation]: accepts } });
    assertEqual([method.func, expected.result, expected.record], [func, { return_ecode: ecode }, call], what);
    assertEqual(FuzzModel.commandLines(name, args, values, ecode), logOfRow(func, lines).slice(1), what + ": log");
  }
});

check("construction enables the bridge and registers nine handlers, arguments ignored", () => {
  for (const args of [[], [1, "x", {}], [undefined]]) {
    const before = sim.count();
    let player;
    assertEqual(logOf(() => { player = new Tether(...args); }),
                ["3 constructFromScript ENTER!!!", "3 CPlayerAgent SetKiteBridge as true!!!",
                 "3 CPlayerAgent RegisterKiteBridgeCallback Buffering_CB !!!"]);
    assertEqual(sim.count(), before + 1, "one adapter per object");
    assertEqual(sim.calls(before), ["SetKiteBridge(true)", "RegisterKiteBridgeCallback(0)",
                                    "RegisterKiteBridgeCallback(1)", "RegisterKiteBridgeCallback(2)",
                                    "RegisterKiteBridgeCallback(3)", "RegisterKiteBridgeCallback(4)",
                                    "RegisterKiteBridgeCallback(5)", "RegisterKiteBridgeCallback(6)",
                                    "RegisterKiteBridgeCallback(7)", "RegisterKiteBridgeCallback(8)"]);
    kite.destroy(player);
  }
});

check("the agent's state: 5 until the adapter accepts a URL, kept by later failures and close", () => {
  const { player, adapter } = newPlayer();
  const state = () => player.player_get_player_state().return_data;
  player.player_create();
  sim.answer(adapter, "setUri", false);
  player.player_set_uri({ param_url: "u" });
  assertEqual(state(), 5, "create and a refused URL open nothing");
  sim.answer(adapter, "setUri", true);
  player.player_set_uri({ param_url: "u" });
  sim.report(adapter, { state: 2 });
  assertEqual(state(), 2, "the adapter is asked after a URL");
  sim.answer(adapter, "setUri", false);
  player.player_set_uri({ param_url: "y" });
  player.player_close();
  assertEqual(state(), 2, "a later failure and close keep it");
  assertEqual(player.player_play(), { return_ecode: 0 }, "usable after close");
  kite.destroy(player);
});

// A command that reaches the adapter answers and logs as the adapter's
// refusal; one that does not, as with an adapter: the rows that say so.
check("without an adapter every command answers as refused and calls nothing", () => {
  const before = sim.count();
  sim.failNextAllocation();
  let player;
  assertEqual(logOf(() => { player = new Tether(); }),
              ["3 constructFromScript ENTER!!!", "5 CPlayerAgent create m_pCinecasterAdapter ERROR!!!"]);
  assertEqual(sim.count(), before, "no adapter made");
  const named = new Set();
  for (const [name, args, func, accepts, ecode, call, lines] of CASES.filter((row) => !row[3] || row[5] === null)) {
    let result;
    const logged = logOf(() => { result = player[name](...args); });
    assertEqual([result, logged], [{ return_ecode: ecode }, logOfRow(func, lines)], name + "(" + args.map(String) + ")");
    named.add(name);
  }
  assertEqual(named.size, 19, "every command but the state query");
  assertEqual(player.player_get_player_state(), { return_ecode: 0, return_type: 1, return_data: 5 });
  assertEqual(logOf(() => kite.destroy(player)).length, 2, "only the two destruction lines");
  assertEqual(sim.count(), before, "still no adapter");
});

kite.afterIdle(done);
