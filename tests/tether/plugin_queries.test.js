// Queries: return_type and return_data, 32-bit reductions, player state
// rules. plugin_commands has the refused duration and position.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

function answerOf(data) {
  return { return_ecode: 0, return_type: 1, return_data: data };
}

check("duration and position are reduced to their low 32 bits", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  const cases = [
    [0, 0], [93000, 93000], [2 ** 31 - 1, 2147483647], [2 ** 31, -2147483648], [2 ** 32 - 1, -1],
    [2 ** 32 + 100, 100], [2n ** 64n - 1n, -1],
  ];
  for (const [reported, expected] of cases) {
    sim.report(adapter, { position: reported });
    const answer = "5 m_pCinecasterAdapter->GetCurrentPosition get current time is  " + expected + " (0x" +
      (expected >>> 0).toString(16) + ")!!!";
    assertEqual(logOf(() => assertEqual(player.player_get_current_position(), answerOf(expected), "position " + reported)),
                queryLines("player_get_current_position", "GetCurrentPosition", [answer], 0, expected));
  }
  for (const [reported, expected] of cases.slice(0, 5)) {
    sim.report(adapter, { duration: reported });
    const what = "duration " + reported;
    const lines = logOf(() => assertEqual(player.player_get_duration({ ignored: 1 }, 2), answerOf(expected), what));
    // The answer line's second conversion is incomplete: the rest is the C library's.
    const [answer] = lines.splice(2, 1);
    assertTrue(answer.startsWith("5 GetDuration m_pCinecasterAdapter->GetDuration is  " + expected + " ("), answer);
    assertEqual(lines, queryLines("player_get_duration", "GetDuration", [], 0, expected));
  }
  assertEqual(newCalls(), Array(7).fill("GetCurrentPosition()").concat(Array(5).fill("GetDuration()")));
});

check("player state: 5 from the agent until a URL is accepted, then the adapter's", () => {
  const { player, adapter, newCalls } = newPlayer();
  const NAME = "player_get_player_state";
  newCalls();
  assertEqual(logOf(() => assertEqual(player.player_get_player_state(), answerOf(5))),
              queryLines(NAME, "GetPlayerState", ["5 Player didn't create yet!!"], 0, 5));
  assertEqual(newCalls(), [], "the adapter is not asked while 5");
  player.player_set_uri({ param_url: "u" });
  for (const state of [0, 3, 4, -3]) {
    sim.report(adapter, { state });
    assertEqual(logOf(() => assertEqual(player.player_get_player_state(), answerOf(state), "state " + state)),
                queryLines(NAME, "GetPlayerState", ["5 m_pCinecasterAdapter->GetPlayerState get state is " + state + "!!!"], 0, state));
  }
  for (const state of [5, 7]) {
    sim.report(adapter, { state });
    assertEqual(logOf(() => assertEqual(player.player_get_player_state(), { return_ecode: -1 })),
                queryLines(NAME, "GetPlayerState", ["5 m_pCinecasterAdapter->GetPlayerState failed!!! It has internal error."], -1));
  }
  sim.answer(adapter, "GetPlayerState", false);
  assertEqual(logOf(() => assertEqual(player.player_get_player_state(), { return_ecode: -1 })),
              queryLines(NAME, "GetPlayerState", ["5 m_pCinecasterAdapter->GetPlayerState failed!!!"], -1));
  assertEqual(newCalls().filter((call) => call === "GetPlayerState()").length, 7);
});

done();
