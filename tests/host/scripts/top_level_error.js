// An error in the main script's top level ends the run at once with status 1,
// as in Node, and so does kite.quit with its own status: no timer, afterIdle
// call or event runs, and the live object is destroyed on the way out (its
// log shows it).
globalThis.player = new Tether();
player.onerror_event = () => console.log("not delivered");
setTimeout(() => console.log("not run"), 0);
kite.afterIdle(() => console.log("not run either"));
if (kite.args[0] === "throw") throw new Error("top level");
if (kite.args[0] === "quit") kite.quit(3);
// Without --adapter=sim, `sim` is not defined.
sim.emit(sim.count() - 1, sim.ERROR_EVENT, { param1: "queued" });
sim.emit(0, sim.BUFFERING, "fifty");
