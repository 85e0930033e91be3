// What the script reference says of the Tether class and of sim that no
// other test shows: construction, write-only callback properties, the
// errors of misuse, the event codes by name and event fields left out.
kite.load("../support/lib/assert.js");

const player = new Tether();
const adapter = sim.count() - 1;

check("misuse throws a plain Error with the reference's message", () => {
  // @ts-expect-error: a class needs new
  assertTrue(assertThrows(() => Tether(), "Class constructor Tether cannot be invoked without 'new'")
    instanceof TypeError);
  const destroyed = new Tether();
  kite.destroy(destroyed);
  /** @type {[() => unknown, string][]} */
  const cases = [
    [() => player.player_play.call({}), "Cannot call native method without object instance"],
    [() => { Object.create(player).onbuffering = null; }, "Attempt to pass a JSObject as a native object"],
    [() => destroyed.player_play(), "Attempt to access destroyed JavaScript object."],
    [() => { destroyed.onbuffering = null; }, "Attempt to access destroyed JavaScript object."],
  ];
  for (const [fn, message] of cases) assertEqual(assertThrows(fn, message).constructor, Error, message);
});

check("sim: read-only event codes by name; TypeError for a wrong type, RangeError out of range", () => {
  const names = ["BUFFERING", "PREPARE_COMPLETE", "PLAY_COMPLETE", "SEEK_COMPLETE", "CURRENT_TIME",
                 "ERROR_EVENT", "ASM_PAUSE", "ASM_RESUME", "SOUND_ANALYSIS"];
  assertEqual(names.map((name) => Object.getOwnPropertyDescriptor(sim, name)),
              names.map((name, code) => ({ value: code, writable: false, enumerable: true, configurable: false })));
  // @ts-expect-error: the percent is a number
  assertTrue(assertThrows(() => sim.emit(adapter, sim.BUFFERING, "fifty")) instanceof TypeError);
  // @ts-expect-error: there is no code 9
  assertTrue(assertThrows(() => sim.emit(adapter, 9)) instanceof RangeError);
});

// Callback properties are write-only, and null silences one. Event fields
// may be left out; type 0 is the character U+0000.
const got = [];
player.onbuffering = (percent) => got.push(percent);
player.oncurrent_time = (time) => got.push(time);
player.oncurrent_time = null;
player.onerror_event = player.onasm_pause = (text) => got.push(text);
sim.emit(adapter, sim.CURRENT_TIME, 1);
sim.emit(adapter, sim.BUFFERING, 40);
sim.emit(adapter, sim.ERROR_EVENT, { type: 1, param1: 'Network unreachable' });
sim.emit(adapter, sim.ASM_PAUSE, {});
check("reading a callback property gives undefined",
      () => assertEqual([player.onbuffering, player.oncurrent_time], [undefined, undefined]));

kite.afterIdle(() => {
  check("a property assigned null calls nothing; fields left out are empty",
        () => assertEqual(got, ["40", "Network unreachable", "EventType:\0,,;"]));
  kite.destroy(player);
  done();
});
