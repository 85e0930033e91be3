// kite ends by itself once nothing is left. The last plug-in objects here are
// merely unreachable, so the run must collect them to end; a hang fails the
// test by its timeout.
globalThis.holder = new Probe();
(function () { new Probe(); new Foreign(); })();
setTimeout(() => {
  globalThis.holder = null;
  kite.afterIdle(() => console.log("released"));
}, 20);
