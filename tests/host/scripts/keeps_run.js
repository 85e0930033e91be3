// A reachable Probe whose native says it keeps no run: from its
// construction (kite.args[0] "born"), from a method ("unref"), or from a
// method and then that it does ("ref"). Its late event comes only in a run
// that waits for it, and destroys it.
globalThis.holder = new Probe(kite.args[0] === "born" ? "idle" : undefined);
if (kite.args[0] !== "born")
  console.log(holder.keepRun(false));
if (kite.args[0] === "ref")
  console.log(holder.keepRun(true));
holder.onvalue = () => {
  console.log("event");
  kite.destroy(holder);
};
holder.fireAfter(300);
