// The `sim` global: clear errors for what it cannot simulate, reports that
// keep what they do not name, and records that outlive their adapter. What it
// records, answers and emits is used by every other script test.
kite.load("../support/lib/assert.js");

const player = new Tether();
const i = sim.count() - 1;

check("misuse throws clear errors", () => {
  const none = sim.count();
  assertThrows(() => sim.calls(none), `sim.calls: no adapter ${none} (${none} constructed, numbered from 0)`);
  assertThrows(() => sim.calls(-1), `sim.calls: no adapter -1 (${none} constructed, numbered from 0)`);
  assertTrue(assertThrows(() => sim.calls("0")) instanceof TypeError, "a string index is a TypeError");
  assertThrows(() => sim.calls(0.5), `sim.calls: no adapter 0.5 (${none} constructed, numbered from 0)`);
  assertThrows(() => sim.calls(1e300), `sim.calls: no adapter 1e+300 (${none} constructed, numbered from 0)`);
  assertThrows(() => sim.answer(i, "Play", false), "sim.answer: no adapter operation named 'Play'");
  assertThrows(() => sim.answer(i, "play", 0), "sim.answer: the answer must be true or false");
  assertThrows(() => sim.answer(i, "RegisterKiteBridgeCallback", false),
               "sim.answer: RegisterKiteBridgeCallback is answered by the handler table");
  assertThrows(() => sim.report(i, 5), "sim.report: the report must be an object {duration, position, state}");
  assertThrows(() => sim.report(i, { position: -1 }),
               "sim.report: position must be an integer from 0 to 18446744073709551615");
  assertThrows(() => sim.report(i, { state: 2 ** 31 }),
               "sim.report: state must be an integer from -2147483648 to 2147483647");
  assertThrows(() => sim.report(i, { duration: "1" }), "sim.report: duration must be a Number or BigInt");
  assertThrows(() => sim.emit(i, 9), "sim.emit: the event code must be an integer from 0 to 8");
  assertThrows(() => sim.emit(i, sim.BUFFERING, 1.5),
               "sim.emit: the buffering percent must be an integer from -2147483648 to 2147483647");
  assertThrows(() => sim.emit(i, sim.PREPARE_COMPLETE, 7), "sim.emit: code 1 carries no data");
  assertThrows(() => sim.emit(i, sim.CURRENT_TIME, 2n ** 64n),
               "sim.emit: the time must be an integer from 0 to 18446744073709551615");
  assertThrows(() => sim.emit(i, sim.ERROR_EVENT, "oops"), "sim.emit: code 5 needs an event {type, param1, param2} or null");
  assertThrows(() => sim.emit(i, sim.ASM_PAUSE, { param1: 3 }), "sim.emit: the event's param1 must be a string");
  assertThrows(() => sim.emit(i, sim.SOUND_ANALYSIS, [1, "2"]), "sim.emit: each band must be a Number or BigInt");
  assertThrows(() => sim.emit(i, sim.SOUND_ANALYSIS, 3), "sim.emit: code 8 needs an array of integers or null");
  assertThrows(() => sim.emit(i, sim.PLAY_COMPLETE, undefined, { userData: 0 }),
               "sim.emit: options.userData can only be null (or left out)");
  assertThrows(() => sim.emit(i, sim.PLAY_COMPLETE, undefined, 5), "sim.emit: the options must be an object");
  // The count is a size_t: its limit is 2^32 - 1 on 32-bit targets.
  const burstError = assertThrows(() => sim.burst(i, sim.CURRENT_TIME, -1, 0));
  assertTrue(/^sim\.burst: the count must be an integer from 0 to (4294967295|18446744073709551615)$/.test(burstError.message),
             burstError.message);
  // A getter that throws passes its own error through.
  assertThrows(() => sim.report(i, { get duration() { throw new Error("own"); } }), "own");
  assertEqual(sim.calls(i).length, 10, "nothing recorded after the registration");
});

check("a report leaves the fields it does not name", () => {
  player.player_set_uri({ param_url: "u" });
  sim.report(i, { duration: 93000, position: 2n ** 31n - 1n, state: 3 });
  sim.report(i, { duration: 1200n });
  assertEqual([player.player_get_duration(), player.player_get_current_position(), player.player_get_player_state()]
                .map((r) => r.return_data), [1200, 2 ** 31 - 1, 3]);
});

check("a destroyed object's adapter is gone, its record stays", () => {
  const recorded = sim.calls(i).length;
  kite.destroy(player);
  assertEqual(sim.calls(i).length, recorded);
  assertEqual([sim.emit(i, sim.BUFFERING, 1), sim.burst(i, sim.BUFFERING, 10, 1)], [false, false]);
  sim.drain(i);
});

done();
