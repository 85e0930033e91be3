// Records still queued when their object is collected call nothing.
// events_stress destroys objects with records queued; api_reference uses
// destroyed objects.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const calls = [];

// Collected with records queued.
(function () {
  const collected = newPlayer();
  collected.player.oncurrent_time = (text) => calls.push("collected " + text);
  sim.emit(collected.adapter, sim.CURRENT_TIME, 1);
  sim.emit(collected.adapter, sim.CURRENT_TIME, 2);
})();
const alive = sim.alive();
kite.gc();
check("the collection destroyed the unreachable object", () => assertEqual(sim.alive(), alive - 1));

// A survivor proves that delivery goes on.
const survivor = newPlayer();
survivor.player.onplay_complete = (...args) => calls.push("survivor " + args.length);
sim.emit(survivor.adapter, sim.PLAY_COMPLETE);

kite.afterIdle(() => {
  check("only live objects' functions ran", () => {
    assertEqual(calls, ["survivor 0"]);
  });
  done();
});
