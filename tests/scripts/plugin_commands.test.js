// The commands: for each case, accepted and refused by the adapter, the
// answer, the adapter call and the whole log of the call, against the model;
// then the agent's own life (construction, state, close, no adapter).
kite.load("lib/assert.js");
kite.load("lib/tether.js");

const listener = () => { throw new Error("the listener function is never called"); };
// [method, arguments]: the argument rules, defaults and conversions.
const CASES = [
  ["player_create", []], ["player_create", [{ param_x: 1 }]],
  ["player_set_uri", []], ["player_set_uri", [{ param_url: "http://host/a.mp4" }, 7]], ["player_set_uri", [{}]],
  ["player_set_uri", [{ param_url: 5 }]], ["player_set_uri", ["http://bare"]], ["player_set_uri", [{ param_url: "x\u00e9" }]],
  ["player_prepare", [{ param_x: 1 }, 2]], ["player_prepare_async", []],
  ["player_set_output_area", []], ["player_set_output_area", [{ x: 1 }, 2]],
  ["player_set_streaming_property", []],
  ["player_set_streaming_property", [{ param_property_type: "T" }, { param_property_param: "P" }]],
  ["player_set_streaming_property", [{ param_property_type: "T", param_property_param: "in 0" }]],
  ["player_set_streaming_property", ["T", { param_property_param: 3 }]],
  ["player_pause", []], ["player_resume", [1]], ["player_stop", []], ["player_play", []],
  ["player_seek_to", []], ["player_seek_to", [5000]], ["player_seek_to", [{ param_seek_to: 250.9 }]],
  ["player_seek_to", [{ param_seek_to: -0.9 }]], ["player_skip", []], ["player_skip", [{ param_skip: -30.5 }]],
  ["player_register_sound_analysis_listener", []], ["player_register_sound_analysis_listener", [listener]],
  ["player_register_sound_analysis_listener", [5, {}]], ["player_register_sound_analysis_listener", ["f", listener]],
  ["player_register_sound_analysis_listener", [listener, undefined]],
  ["player_register_sound_analysis_listener", [listener, 1, 2]],
  ["player_suspend", []], ["player_suspend", [undefined]],
  ["player_restore", []], ["player_restore", [{}]],
  ["player_restore", [{ param_restore_url: "r", param_restore_resume_time: 250.9, param_restore_prepare: true }]],
  ["player_restore", ["bare", { param_restore_url: "second argument is ignored" }]],
  ["player_restore", [{ param_restore_url: 5, param_restore_prepare: 1 }]],
  ["player_close", [1, 2]],
  ["player_set_party_tv_mode", []], ["player_set_party_tv_mode", ["on", 2]],
  ["player_set_party_tv_mode", [{ param_party_mode: true }]], ["player_set_party_tv_mode", [{ param_party_mode: "yes" }]],
];

check("each case, accepted and refused: answer, adapter call and log", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  for (const [name, args] of CASES) {
    const method = FuzzModel.METHODS[name];
    for (const accepts of [true, false]) {
      const what = name + "(" + args.map(String) + ") " + (accepts ? "accepted" : "refused");
      if (method.operation) sim.answer(adapter, method.operation, accepts);
      const expected = FuzzModel.expectedAnswer(name, args, readsOf(name, args),
                                                { adapter, answers: { [method.operation]: accepts } });
      let result;
      const lines = logOf(() => { result = player[name](...args); });
      assertEqual(result, expected.result, what);
      assertEqual(newCalls(), expected.record === null ? [] : [expected.record], what + ": adapter call");
      assertEqual(lines, callLines(name, args, expected.result.return_ecode), what + ": log");
    }
    if (method.operation) sim.answer(adapter, method.operation, true);
  }
  // Sound-analysis results go to onsound_analysis only; done() waits for them.
  assertEqual(sim.emit(adapter, sim.SOUND_ANALYSIS, [1, 2]), true);
});

check("construction enables the bridge and registers nine handlers, arguments ignored", () => {
  const registration = ["SetKiteBridge(true)"].concat(
    FuzzModel.EVENTS.map((event, code) => "RegisterKiteBridgeCallback(" + code + ")"));
  for (const args of [[], [1, "x", {}], [undefined]]) {
    const before = sim.count();
    let player;
    assertEqual(logOf(() => { player = new Tether(...args); }),
                ["3 constructFromScript ENTER!!!", "3 CPlayerAgent SetKiteBridge as true!!!",
                 "3 CPlayerAgent RegisterKiteBridgeCallback Buffering_CB !!!"]);
    assertEqual(sim.count(), before + 1, "one adapter per object");
    assertEqual(sim.calls(before), registration);
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

check("without an adapter every command fails as refused and calls nothing", () => {
  const before = sim.count();
  sim.failNextAllocation();
  let player;
  assertEqual(logOf(() => { player = new Tether(); }),
              ["3 constructFromScript ENTER!!!", "5 CPlayerAgent create m_pCinecasterAdapter ERROR!!!"]);
  assertEqual(sim.count(), before, "no adapter made");
  for (const name of FuzzModel.METHOD_NAMES) {
    const args = name === "player_register_sound_analysis_listener" ? [listener, 1] : [{}];
    const expected = FuzzModel.expectedAnswer(name, args, readsOf(name, args), { adapter: -1, state: 5 });
    let result;
    const lines = logOf(() => { result = player[name](...args); });
    assertEqual(result, expected.result, name);
    if (!FuzzModel.METHODS[name].state)
      assertEqual(lines, callLines(name, args, expected.result.return_ecode), name + ": log");
  }
  assertEqual(player.player_seek_to(), { return_ecode: -2 }, "rejections still come first");
  assertEqual(logOf(() => kite.destroy(player)).length, 2, "only the two destruction lines");
  assertEqual(sim.count(), before, "still no adapter");
});

kite.afterIdle(done);
