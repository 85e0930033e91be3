// Suspend, restore, party mode and the sound-analysis registration.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

check("register_sound_analysis_listener wants a function and a second argument", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  let called = 0;
  const fn = () => { called++; };
  for (const args of [[], [fn], [5, {}], ["f", fn], [{}, {}]]) {
    assertEqual(player.player_register_sound_analysis_listener(...args), { return_ecode: -2 }, String(args.length));
  }
  assertEqual(newCalls(), []);
  assertEqual(logOf(() => player.player_register_sound_analysis_listener(5, {})),
              ["3 RegisterSoundAnalysisListener ENTER!!!",
               "5 RegisterSoundAnalysisListener Invalid param. aArgs.Length() <= 1 ",
               "5 RegisterSoundAnalysisListener strCmd[player_register_sound_analysis_listener] ErrorCode[-2]"]);
  assertEqual(player.player_register_sound_analysis_listener(fn, undefined), { return_ecode: 0 });
  sim.answer(adapter, "registerSoundAnalysisListener", false);
  assertEqual(player.player_register_sound_analysis_listener(fn, 1, 2), { return_ecode: -1 });
  assertEqual(newCalls(), ["registerSoundAnalysisListener(null)", "registerSoundAnalysisListener(null)"]);
  assertEqual(sim.emit(adapter, 8, [1, 2]), true);
  assertEqual(called, 0, "the listener function is never called");
});

check("suspend needs any argument and reads none", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_suspend(), { return_ecode: -2 })),
              ["3 Suspend ENTER!!!", "5 Suspend Invalid param. aArgs.Length() < 1 ",
               "5 Suspend strCmd[player_suspend] ErrorCode[-2]"]);
  assertEqual(player.player_suspend(undefined), { return_ecode: 0 });
  sim.answer(adapter, "suspend", false);
  assertEqual(player.player_suspend({}), { return_ecode: -1 });
  assertEqual(newCalls(), ["suspend()", "suspend()"]);
});

check("restore: defaults, conversions, and rejection without arguments", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_restore(), { return_ecode: -2 })),
              ["3 Restore ENTER!!!", "5 Restore aArgs.Length() < 1 , use default parameter",
               "5 Restore strCmd[player_restore] ErrorCode[-2]"]);
  assertEqual(newCalls(), []);

  assertEqual(player.player_restore({}), { return_ecode: 0 });
  assertEqual(logOf(() => player.player_restore({ param_restore_url: "r", param_restore_resume_time: 250.9,
                                                   param_restore_prepare: true })),
              ["3 Restore ENTER!!!",
               "5 Restore Use the parameters which got from aArgs, restore_url:r, resumetime:250.900000, prepare:1 ",
               "3 Restore LEAVE!!!", "5 Restore strCmd[player_restore] ErrorCode[0]"]);
  player.player_restore("bare", { param_restore_url: "second argument is ignored" });
  sim.answer(adapter, "restore", false);
  assertEqual(player.player_restore({ param_restore_url: 5, param_restore_prepare: 1 }), { return_ecode: -1 });
  assertEqual(newCalls(), ['restore("",0,false)', 'restore("r",250,true)', 'restore("",0,false)',
                           'restore("",0,false)']);
});

check("party mode: calls the adapter even without arguments", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_set_party_tv_mode(), { return_ecode: 0 })),
              ["3 SetPartyTVMode ENTER!!!", "4 SetPartyTVMode param length is 0",
               "5 SetPartyTVMode Invalid param. aArgs.Length() < 1 ", "3 SetPartyTVMode LEAVE!!!",
               "5 SetPartyTVMode strCmd[player_set_party_tv_mode] ErrorCode[0]"]);
  assertEqual(logOf(() => player.player_set_party_tv_mode("on", 2)),
              ["3 SetPartyTVMode ENTER!!!", "4 SetPartyTVMode param length is 2",
               "3 SetPartyTVMode Get aArgs[0] is 'on'!!!", "5 SetPartyTVMode Get the party mode is 0!!!",
               "3 SetPartyTVMode LEAVE!!!", "5 SetPartyTVMode strCmd[player_set_party_tv_mode] ErrorCode[0]"]);
  assertEqual(logOf(() => player.player_set_party_tv_mode({ param_party_mode: true }))[2],
              "5 SetPartyTVMode Get the party mode is 1!!!");
  player.player_set_party_tv_mode({ param_party_mode: "yes" });
  sim.answer(adapter, "SetSoundAnalysis", false);
  assertEqual(player.player_set_party_tv_mode({ param_party_mode: true }), { return_ecode: -1 });
  assertEqual(newCalls(), ["SetSoundAnalysis(false)", "SetSoundAnalysis(false)", "SetSoundAnalysis(true)",
                           "SetSoundAnalysis(false)", "SetSoundAnalysis(true)"]);
});

done();
