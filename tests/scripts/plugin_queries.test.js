// Queries: return_type and return_data, 32-bit reductions, player state rules.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

function answerOf(data) {
  return { return_ecode: 0, return_type: 1, return_data: data };
}

check("duration and position are reduced to their low 32 bits, or refused", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  const cases = [
    [0, 0], [93000, 93000], [2 ** 31 - 1, 2147483647], [2 ** 31, -2147483648], [2 ** 32 - 1, -1],
    [2 ** 32 + 100, 100], [2n ** 64n - 1n, -1],
  ];
  for (const [reported, expected] of cases) {
    sim.report(adapter, { position: reported });
    assertEqual(player.player_get_current_position(), answerOf(expected), "position " + reported);
  }
  for (const [reported, expected] of cases.slice(0, 5)) {
    sim.report(adapter, { duration: reported });
    assertEqual(player.player_get_duration({ ignored: 1 }, 2), answerOf(expected), "duration " + reported);
  }
  assertEqual(newCalls(), Array(7).fill("GetCurrentPosition()").concat(Array(5).fill("GetDuration()")));

  sim.report(adapter, { duration: 2 ** 32 - 1, position: 2 ** 32 + 100 });
  const duration = logOf(() => player.player_get_duration());
  assertEqual(duration.length, 3);
  assertTrue(duration[1].startsWith("5 GetDuration m_pCinecasterAdapter->GetDuration is  -1 ("), duration[1]);
  assertEqual(duration[2], "5 GetDuration strCmd[player_get_duration] ErrorCode[0] IntVal[-1]");
  assertEqual(logOf(() => player.player_get_current_position()),
              ["3 GetCurrentPosition ENTER!!!",
               "5 GetCurrentPosition m_pCinecasterAdapter->GetCurrentPosition get current time is  100 (0x64)!!!",
               "5 GetCurrentPosition strCmd[player_get_current_position] ErrorCode[0] IntVal[100]"]);
  // Refused, they answer only return_ecode -1.
  sim.answer(adapter, "GetDuration", false);
  sim.answer(adapter, "GetCurrentPosition", false);
  assertEqual(logOf(() => assertEqual(player.player_get_duration(), { return_ecode: -1 })),
              ["3 GetDuration ENTER!!!", "5 GetDuration m_pCinecasterAdapter->GetDuration failed!!!",
               "5 GetDuration strCmd[player_get_duration] ErrorCode[-1]"]);
  assertEqual(player.player_get_current_position(), { return_ecode: -1 });
});

check("player state: 5 from the agent until a URL is accepted, then the adapter's", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_get_player_state(), answerOf(5))),
              ["3 GetPlayerState ENTER!!!", "5 GetPlayerState Player didn't create yet!!",
               "5 GetPlayerState strCmd[player_get_player_state] ErrorCode[0] IntVal[5]"]);
  player.player_create();
  sim.answer(adapter, "setUri", false);
  player.player_set_uri({ param_url: "u" });
  assertEqual(player.player_get_player_state(), answerOf(5));
  assertEqual(newCalls(), ["create()", 'setUri("u")'], "the adapter is not asked while 5");

  sim.answer(adapter, "setUri", true);
  player.player_set_uri({ param_url: "u" });
  for (const state of [0, 3, 4, -3]) {
    sim.report(adapter, { state });
    assertEqual(player.player_get_player_state(), answerOf(state), "state " + state);
  }
  sim.report(adapter, { state: 3 });
  assertEqual(logOf(() => player.player_get_player_state()),
              ["3 GetPlayerState ENTER!!!", "5 GetPlayerState m_pCinecasterAdapter->GetPlayerState get state is 3!!!",
               "5 GetPlayerState strCmd[player_get_player_state] ErrorCode[0] IntVal[3]"]);
  for (const state of [5, 7]) {
    sim.report(adapter, { state });
    assertEqual(logOf(() => assertEqual(player.player_get_player_state(), { return_ecode: -1 })),
                ["3 GetPlayerState ENTER!!!",
                 "5 GetPlayerState m_pCinecasterAdapter->GetPlayerState failed!!! It has internal error.",
                 "5 GetPlayerState strCmd[player_get_player_state] ErrorCode[-1]"]);
  }
  sim.answer(adapter, "GetPlayerState", false);
  assertEqual(logOf(() => assertEqual(player.player_get_player_state(), { return_ecode: -1 })),
              ["3 GetPlayerState ENTER!!!", "5 GetPlayerState m_pCinecasterAdapter->GetPlayerState failed!!!",
               "5 GetPlayerState strCmd[player_get_player_state] ErrorCode[-1]"]);
  player.player_close();
  sim.answer(adapter, "GetPlayerState", true);
  sim.report(adapter, { state: 1 });
  assertEqual(player.player_get_player_state(), answerOf(1), "close does not reset the agent's state");
});

done();
