// A reachable Probe keeps the run going with no timer left, until its late
// event destroys it ("kept"); unless its native says it keeps no run: from
// its construction ("born"), from a method ("unref"), or from a method and
// then that it does ("ref"). Its late event comes only in a run that waits
// for it.
globalThis.holder = new Probe(kite.args[0] === "born" ? "idle" : undefined);
if (kite.args[0] === "unref" || kite.args[0] === "ref")
  console.log(holder.keepRun(false));
if (kite.args[0] === "ref")
  console.log(holder.keepRun(true));
holder.onvalue = () => {
  console.log("event");
  kite.destroy(holder);
};
holder.fireAfter(300);
