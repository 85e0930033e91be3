// A reachable Probe whose native says it keeps no run (kite.args[0]
// "unref"), or says so and then that it does ("ref"). Its late event comes
// only in a run that waits for it, and destroys it.
globalThis.holder = new Probe();
console.log(holder.keepRun(false));
if (kite.args[0] === "ref")
  console.log(holder.keepRun(true));
holder.onvalue = () => {
  console.log("event");
  kite.destroy(holder);
};
holder.fireAfter(300);
