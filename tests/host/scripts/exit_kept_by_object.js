// A reachable plug-in object keeps the run going with no timer left, until
// its late event destroys it.
globalThis.holder = new Probe();
holder.onvalue = () => {
  console.log("event");
  kite.destroy(holder);
};
holder.fireAfter(400);
