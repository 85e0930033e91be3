// The commands: for each case, its answer, the adapter call and the whole
// log of the call, each written out in its row; the script fuzzer's model
// agrees with every row; then the agent's own life (construction, state,
// close, no adapter).
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const listener = () => { throw new Error("the listener function is never called"); };

// [method, arguments, the agent's function, the adapter call as the
//  simulated player records it (null: none), return_ecode when the adapter
//  accepts (null: plugin_queries has that case), the agent's lines (priority
//  and payload) between its ENTER and its closing line, and the lines that
//  take the place of its LEAVE when the adapter refuses, answering -1 (null:
//  no call to refuse)]. The handler's ENTER comes before them.
const ROWS = [
  ["player_create", [], "Create", "create()", 0, ["4 param length is 0"], []],
  ["player_set_uri", [], "SetURI", null, -2, ["4 param length is 0", "5 Invalid param. aArgs.Length() < 1 "], null],
  ["player_set_uri", [{ param_url: "http://host/a.mp4" }, 7], "SetURI", 'setUri("http://host/a.mp4")', 0,
   ["4 param length is 2", "5 Get the URL is http://host/a.mp4!!!"], ["5 m_pCinecasterAdapter->open failed!!!"]],
  ["player_set_uri", [{}], "SetURI", 'setUri("")', 0, ["4 param length is 1", "5 Get the URL is !!!"], null],
  ["player_set_uri", [{ param_url: 5 }], "SetURI", 'setUri("")', 0, ["4 param length is 1", "5 Get the URL is !!!"], null],
  ["player_set_uri", [{ param_url: "x\u00e9" }], "SetURI", 'setUri("x\u00e9")', 0,
   ["4 param length is 1", "5 Get the URL is x\u00e9!!!"], null],
  ["player_prepare", [{ param_x: 1 }, 2], "Prepare", "prepare()", 0, [],
   ["5 m_pCinecasterAdapter->prepare failed!!!"]],
  ["player_prepare_async", [], "PrepareAsync", "registerPrepareListener(null)", 0, [],
   ["5 m_pCinecasterAdapter->prepareasync failed!!!"]],
  ["player_set_output_area", [{ x: 1 }, 2], "SetOutputArea", null, 0,
   ["5 Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.", "3 LEAVE!!!"], null],
  ["player_set_streaming_property", [], "SetStreamingProperty", null, -2,
   ["4 param length is 0", "5 Invalid param. aArgs.Length() < 1 "], null],
  ["player_set_streaming_property", [{ param_property_type: "T" }, { param_property_param: "P" }],
   "SetStreamingProperty", 'setStreamingProperty("T","P")', 0,
   ["4 param length is 2", "3 Get streaming property type is : T , param is : P !!!", "3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->setStreamingProperty failed!!!"]],
  ["player_set_streaming_property", [{ param_property_type: "T", param_property_param: "in 0" }],
   "SetStreamingProperty", 'setStreamingProperty("T","")', 0,
   ["4 param length is 1", "3 Get streaming property type is : T , param is :  !!!", "3 LEAVE!!!"], null],
  ["player_pause", [], "Pause", "Pause()", 0, ["3 LEAVE!!!"], ["5 m_pCinecasterAdapter->Pause failed!!!"]],
  ["player_resume", [1], "Resume", "play()", 0, ["3 LEAVE!!!"], ["5 m_pCinecasterAdapter->play failed!!!"]],
  ["player_stop", [], "Stop", "Stop()", 0, ["3 LEAVE!!!"], ["5 m_pCinecasterAdapter->Stop failed!!!"]],
  ["player_play", [], "Play", "play()", 0, ["3 LEAVE!!!"], ["5 m_pCinecasterAdapter->play failed!!!"]],
  ["player_seek_to", [], "SeekTo", null, -2, ["5 Invalid param. aArgs.Length() < 1 "], null],
  ["player_seek_to", [5000], "SeekTo", "seekTo(0,null)", 0, ["3 Get seek to param is 0.000000 !!!", "3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->seekTo!!!"]],
  ["player_seek_to", [{ param_seek_to: 250.9 }], "SeekTo", "seekTo(250,null)", 0,
   ["3 Get seek to param is 250.900000 !!!", "3 LEAVE!!!"], null],
  ["player_skip", [], "Skip", null, -2, ["5 Invalid param. aArgs.Length() < 1 "], null],
  ["player_skip", [{ param_skip: -30.5 }], "Skip", "Skip(-30,null)", 0, ["3 Get seek to param is -30 !!!", "3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->Skip!!!"]],
  ["player_register_sound_analysis_listener", [listener], "RegisterSoundAnalysisListener", null, -2,
   ["5 Invalid param. aArgs.Length() <= 1 "], null],
  ["player_register_sound_analysis_listener", ["f", listener], "RegisterSoundAnalysisListener", null, -2,
   ["5 Invalid param. aArgs.Length() <= 1 "], null],
  ["player_register_sound_analysis_listener", [listener, undefined], "RegisterSoundAnalysisListener",
   "registerSoundAnalysisListener(null)", 0, ["3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->registerSoundAnalysisListener!!!"]],
  ["player_register_sound_analysis_listener", [listener, 1, 2], "RegisterSoundAnalysisListener",
   "registerSoundAnalysisListener(null)", 0, ["3 LEAVE!!!"], null],
  ["player_suspend", [], "Suspend", null, -2, ["5 Invalid param. aArgs.Length() < 1 "], null],
  ["player_suspend", [undefined], "Suspend", "suspend()", 0, ["3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->suspend failed!!!"]],
  ["player_restore", [], "Restore", null, -2, ["5 aArgs.Length() < 1 , use default parameter"], null],
  ["player_restore", [{}], "Restore", 'restore("",0,false)', 0,
   ["5 Use the parameters which got from aArgs, restore_url:, resumetime:0.000000, prepare:0 ", "3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->restore failed!!!"]],
  ["player_restore", [{ param_restore_url: "r", param_restore_resume_time: 250.9, param_restore_prepare: true }],
   "Restore", 'restore("r",250,true)', 0,
   ["5 Use the parameters which got from aArgs, restore_url:r, resumetime:250.900000, prepare:1 ", "3 LEAVE!!!"], null],
  ["player_restore", [{ param_restore_url: 5, param_restore_prepare: 1 }], "Restore", 'restore("",0,false)', 0,
   ["5 Use the parameters which got from aArgs, restore_url:, resumetime:0.000000, prepare:0 ", "3 LEAVE!!!"], null],
  ["player_close", [1, 2], "Close", "close()", 0, ["3 LEAVE!!!"], ["5 m_pCinecasterAdapter->close failed!!!"]],
  ["player_set_party_tv_mode", [], "SetPartyTVMode", "SetSoundAnalysis(false)", 0,
   ["4 param length is 0", "5 Invalid param. aArgs.Length() < 1 ", "3 LEAVE!!!"],
   ["5 m_pCinecasterAdapter->SetSoundAnalysis failed!!!"]],
  ["player_set_party_tv_mode", ["on", 2], "SetPartyTVMode", "SetSoundAnalysis(false)", 0,
   ["4 param length is 2", "3 Get aArgs[0] is 'on'!!!", "5 Get the party mode is 0!!!", "3 LEAVE!!!"], null],
  ["player_set_party_tv_mode", [{ param_party_mode: true }], "SetPartyTVMode", "SetSoundAnalysis(true)", 0,
   ["4 param length is 1", "5 Get the party mode is 1!!!", "3 LEAVE!!!"], null],
  ["player_set_party_tv_mode", [{ param_party_mode: "yes" }], "SetPartyTVMode", "SetSoundAnalysis(false)", 0,
   ["4 param length is 1", "5 Get the party mode is 0!!!", "3 LEAVE!!!"], null],
  ["player_get_duration", [], "GetDuration", "GetDuration()", null, [],
   ["5 m_pCinecasterAdapter->GetDuration failed!!!"]],
  ["player_get_current_position", [], "GetCurrentPosition", "GetCurrentPosition()", null, [],
   ["5 m_pCinecasterAdapter->GetCurrentPosition failed!!!"]],
];

// Each row as its cases, accepted then refused: [method, arguments,
// function, whether the adapter accepts, return_ecode, adapter call, the
// whole log of the call].
const CASES = ROWS.flatMap(([name, args, func, call, ecode, lines, refusal]) => {
  const accepted = ecode === null ? [] : [[name, args, func, true, ecode, call, queryLines(name, func, lines, ecode)]];
  if (refusal === null) return accepted;
  const refused = lines.filter((line) => line !== "3 LEAVE!!!").concat(refusal);
  return accepted.concat([[name, args, func, false, -1, call, queryLines(name, func, refused, -1)]]);
});

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
    assertEqual(logged, lines, what + ": log");
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
    assertEqual(FuzzModel.commandLines(name, args, values, ecode), lines.slice(1), what + ": log");
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
    assertEqual([result, logged], [{ return_ecode: ecode }, lines], name + "(" + args.map(String) + ")");
    named.add(name);
  }
  assertEqual(named.size, 19, "every command but the state query");
  assertEqual(player.player_get_player_state(), { return_ecode: 0, return_type: 1, return_data: 5 });
  assertEqual(logOf(() => kite.destroy(player)).length, 2, "only the two destruction lines");
  assertEqual(sim.count(), before, "still no adapter");
});

kite.afterIdle(done);
