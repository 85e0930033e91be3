// Transport commands: answers, adapter calls, argument rules, conversions.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

check("argument-free commands: one adapter call each, answered as the adapter answers", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  const table = [
    ["player_prepare", "prepare", "prepare()"],
    ["player_prepare_async", "registerPrepareListener", "registerPrepareListener(null)"],
    ["player_pause", "Pause", "Pause()"],
    ["player_resume", "play", "play()"],
    ["player_stop", "Stop", "Stop()"],
    ["player_play", "play", "play()"],
  ];
  for (const [method, operation, call] of table) {
    assertEqual(player[method]({ param_x: 1 }, 2), { return_ecode: 0 }, method);
    sim.answer(adapter, operation, false);
    assertEqual(player[method](), { return_ecode: -1 }, method + " refused");
    sim.answer(adapter, operation, true);
    assertEqual(newCalls(), [call, call], method);
  }
});

check("exit lines: prepare has none, pause has one, a refusal has the failure line", () => {
  const { player, adapter } = newPlayer();
  assertEqual(logOf(() => player.player_prepare()),
              ["3 Prepare ENTER!!!", "5 Prepare strCmd[player_prepare] ErrorCode[0]"]);
  assertEqual(logOf(() => player.player_pause()),
              ["3 Pause ENTER!!!", "3 Pause LEAVE!!!", "5 Pause strCmd[player_pause] ErrorCode[0]"]);
  sim.answer(adapter, "play", false);
  for (const [method, func] of [["player_resume", "Resume"], ["player_play", "Play"]]) {
    assertEqual(logOf(() => player[method]()),
                ["3 " + func + " ENTER!!!", "5 " + func + " m_pCinecasterAdapter->play failed!!!",
                 "5 " + func + " strCmd[" + method + "] ErrorCode[-1]"]);
  }
});

check("player_set_output_area always answers 0 and leaves the adapter alone", () => {
  const { player, newCalls } = newPlayer();
  newCalls();
  for (const args of [[], [{ x: 1 }, 2]]) {
    assertEqual(logOf(() => assertEqual(player.player_set_output_area(...args), { return_ecode: 0 })),
                ["3 SetOutputArea ENTER!!!",
                 "5 SetOutputArea Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.",
                 "3 SetOutputArea LEAVE!!!", "5 SetOutputArea strCmd[player_set_output_area] ErrorCode[0]"]);
  }
  assertEqual(newCalls(), []);
});

check("player_set_streaming_property reads two arguments, each defaulting to empty", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_set_streaming_property(), { return_ecode: -2 })),
              ["3 SetStreamingProperty ENTER!!!", "4 SetStreamingProperty param length is 0",
               "5 SetStreamingProperty Invalid param. aArgs.Length() < 1 ",
               "5 SetStreamingProperty strCmd[player_set_streaming_property] ErrorCode[-2]"]);
  assertEqual(player.player_set_streaming_property({ param_property_type: "T" }, { param_property_param: "P" }),
              { return_ecode: 0 });
  assertEqual(player.player_set_streaming_property({ param_property_type: "T", param_property_param: "in 0" }),
              { return_ecode: 0 });
  assertEqual(player.player_set_streaming_property("T", { param_property_param: 3 }), { return_ecode: 0 });
  sim.answer(adapter, "setStreamingProperty", false);
  assertEqual(player.player_set_streaming_property({}, {}), { return_ecode: -1 });
  assertEqual(newCalls(), ['setStreamingProperty("T","P")', 'setStreamingProperty("T","")',
                           'setStreamingProperty("","")', 'setStreamingProperty("","")']);
});

// The conversions of every number and of values of every kind are in
// hostile_values.test.js.
check("seek and skip: -2 without arguments, a bare value reads as 0, the lines of each", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(player.player_seek_to(), { return_ecode: -2 });
  assertEqual(player.player_skip(), { return_ecode: -2 });
  assertEqual(newCalls(), []);

  assertEqual(logOf(() => assertEqual(player.player_seek_to(5000), { return_ecode: 0 })),
              ["3 SeekTo ENTER!!!", "3 SeekTo Get seek to param is 0.000000 !!!", "3 SeekTo LEAVE!!!",
               "5 SeekTo strCmd[player_seek_to] ErrorCode[0]"]);
  sim.answer(adapter, "seekTo", false);
  sim.answer(adapter, "Skip", false);
  assertEqual(logOf(() => assertEqual(player.player_seek_to({ param_seek_to: -0.9 }), { return_ecode: -1 })),
              ["3 SeekTo ENTER!!!", "3 SeekTo Get seek to param is -0.900000 !!!",
               "5 SeekTo m_pCinecasterAdapter->seekTo!!!", "5 SeekTo strCmd[player_seek_to] ErrorCode[-1]"]);
  assertEqual(logOf(() => assertEqual(player.player_skip({ param_skip: -30.5 }), { return_ecode: -1 })),
              ["3 Skip ENTER!!!", "3 Skip Get seek to param is -30 !!!",
               "5 Skip m_pCinecasterAdapter->Skip!!!", "5 Skip strCmd[player_skip] ErrorCode[-1]"]);
  assertEqual(newCalls(), ["seekTo(0,null)", "seekTo(0,null)", "Skip(-30,null)"]);
});

done();
