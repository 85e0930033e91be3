// Records still queued when their object goes away call nothing.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const calls = [];

// Destroyed explicitly with records queued.
const destroyed = newPlayer();
destroyed.player.onbuffering = (text) => calls.push("destroyed " + text);
destroyed.player.onseek_complete = () => calls.push("destroyed seek");
for (let n = 0; n < 5; n++) sim.emit(destroyed.adapter, sim.BUFFERING, n);
sim.emit(destroyed.adapter, sim.SEEK_COMPLETE);
assertEqual(kite.destroy(destroyed.player), true);

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
  check("the destroyed objects refuse further use", () => {
    assertThrows(() => destroyed.player.player_play(), "Attempt to access destroyed JavaScript object.");
    assertEqual(sim.emit(destroyed.adapter, sim.BUFFERING, 1), false, "its adapter is gone");
  });
  done();
});
