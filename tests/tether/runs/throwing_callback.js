// Callbacks that throw on delivery are reported as uncaught, one report per
// throw; the loop goes on, and later events of the same object still arrive.
const player = new Tether();
const adapter = sim.count() - 1;
let calls = 0;
player.onbuffering = function onBuffering(text) {
  calls++;
  if (text === "1") throw new Error("buffering " + text);
  console.log("buffering " + text);
};
player.onerror_event = (text) => {
  calls++;
  throw text;
};
sim.emit(adapter, sim.BUFFERING, 1);
sim.emit(adapter, sim.ERROR_EVENT, { type: 1, param1: "a thrown string", param2: "" });
sim.emit(adapter, sim.BUFFERING, 2);
sim.emit(adapter, sim.BUFFERING, 1);
sim.emit(adapter, sim.BUFFERING, 3);
kite.afterIdle(() => {
  console.log("calls " + calls);
  kite.destroy(player);
});
