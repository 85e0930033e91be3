// The player agent's life: construction, player_create, player_set_uri,
// player_close, destruction, and an agent whose adapter could not be made.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

const REGISTRATION = ["SetKiteBridge(true)"].concat(
  [0, 1, 2, 3, 4, 5, 6, 7, 8].map((code) => "RegisterKiteBridgeCallback(" + code + ")"));

check("construction enables the bridge and registers nine handlers, arguments ignored", () => {
  for (const args of [[], [1, "x", {}], [undefined]]) {
    const before = sim.count();
    const player = new Tether(...args);
    assertEqual(sim.count(), before + 1, "one adapter per object");
    assertEqual(sim.calls(before), REGISTRATION);
    kite.destroy(player);
  }
});

check("player_create asks the adapter every time and reports each answer", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(player.player_create(), { return_ecode: 0 });
  sim.answer(adapter, "create", false);
  assertEqual(player.player_create({ param_x: 1 }), { return_ecode: -1 });
  assertEqual(newCalls(), ["create()", "create()"]);
  assertEqual(player.player_get_player_state().return_data, 5, "create alone opens nothing");
});

check("player_set_uri: rejection, defaults and the agent's state", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(player.player_set_uri(), { return_ecode: -2 });
  assertEqual(newCalls(), [], "no argument: no adapter call");

  sim.answer(adapter, "setUri", false);
  assertEqual(player.player_set_uri({ param_url: "http://host/a.mp4" }), { return_ecode: -1 });
  assertEqual(player.player_get_player_state(), { return_ecode: 0, return_type: 1, return_data: 5 });

  sim.answer(adapter, "setUri", true);
  // A missing, wrongly typed or bare value leaves the URL empty.
  for (const arg of [{}, { param_url: 5 }, "http://bare", 7, null]) {
    assertEqual(player.player_set_uri(arg, "ignored"), { return_ecode: 0 });
  }
  assertEqual(player.player_set_uri({ param_url: "x\u00e9" }), { return_ecode: 0 });
  assertEqual(newCalls(), ['setUri("http://host/a.mp4")', 'setUri("")', 'setUri("")', 'setUri("")',
                           'setUri("")', 'setUri("")', 'setUri("x\u00e9")']);
  sim.report(adapter, { state: 2 });
  assertEqual(player.player_get_player_state().return_data, 2, "the adapter is asked after a URL");

  sim.answer(adapter, "setUri", false);
  assertEqual(player.player_set_uri({ param_url: "y" }).return_ecode, -1);
  assertEqual(player.player_get_player_state().return_data, 2, "a later failure keeps the state");
});

check("player_close keeps the agent usable", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_close(), { return_ecode: 0 })),
              ["3 Close ENTER!!!", "3 Close LEAVE!!!", "5 Close strCmd[player_close] ErrorCode[0]"]);
  sim.answer(adapter, "close", false);
  assertEqual(logOf(() => assertEqual(player.player_close(1, 2), { return_ecode: -1 })),
              ["3 Close ENTER!!!", "5 Close m_pCinecasterAdapter->close failed!!!",
               "5 Close strCmd[player_close] ErrorCode[-1]"]);
  assertEqual(player.player_play(), { return_ecode: 0 });
  assertEqual(newCalls(), ["close()", "close()", "play()"]);
});

check("without an adapter: -1 and the failure line, no adapter call", () => {
  const before = sim.count();
  sim.failNextAllocation();
  let player;
  assertEqual(logOf(() => { player = new Tether(); }),
              ["5 CPlayerAgent create m_pCinecasterAdapter ERROR!!!"]);
  assertEqual(sim.count(), before, "no adapter made");

  const fn = () => 0;
  const failures = [
    ["player_create", [], null],
    ["player_set_uri", [{ param_url: "u" }], "m_pCinecasterAdapter->open failed!!!"],
    ["player_close", [], "m_pCinecasterAdapter->close failed!!!"],
    ["player_prepare", [], "m_pCinecasterAdapter->prepare failed!!!"],
    ["player_prepare_async", [], "m_pCinecasterAdapter->prepareasync failed!!!"],
    ["player_set_streaming_property", [{}], "m_pCinecasterAdapter->setStreamingProperty failed!!!"],
    ["player_pause", [], "m_pCinecasterAdapter->Pause failed!!!"],
    ["player_resume", [], "m_pCinecasterAdapter->play failed!!!"],
    ["player_stop", [], "m_pCinecasterAdapter->Stop failed!!!"],
    ["player_play", [], "m_pCinecasterAdapter->play failed!!!"],
    ["player_seek_to", [{}], "m_pCinecasterAdapter->seekTo!!!"],
    ["player_skip", [{}], "m_pCinecasterAdapter->Skip!!!"],
    ["player_get_duration", [], "m_pCinecasterAdapter->GetDuration failed!!!"],
    ["player_get_current_position", [], "m_pCinecasterAdapter->GetCurrentPosition failed!!!"],
    ["player_register_sound_analysis_listener", [fn, 1], "m_pCinecasterAdapter->registerSoundAnalysisListener!!!"],
    ["player_suspend", [1], "m_pCinecasterAdapter->suspend failed!!!"],
    ["player_restore", [{}], "m_pCinecasterAdapter->restore failed!!!"],
    ["player_set_party_tv_mode", [{}], "m_pCinecasterAdapter->SetSoundAnalysis failed!!!"],
  ];
  for (const [method, args, message] of failures) {
    const payloads = logOf(() => assertEqual(player[method](...args), { return_ecode: -1 }, method))
      .map((line) => line.replace(/^\d+ \w+ /, ""));
    assertEqual(payloads[payloads.length - 1], "strCmd[" + method + "] ErrorCode[-1]", method);
    if (message !== null) assertEqual(payloads[payloads.length - 2], message, method);
  }
  assertEqual(player.player_set_output_area(), { return_ecode: 0 });
  assertEqual(player.player_get_player_state(), { return_ecode: 0, return_type: 1, return_data: 5 });
  assertEqual(player.player_seek_to(), { return_ecode: -2 }, "rejections still come first");

  const lines = logOf(() => kite.destroy(player));
  assertEqual(lines.length, 2, "only the two destruction lines");
  assertEqual(sim.count(), before, "still no adapter");
});

done();
