// Every uncaught exception after the script's top level is reported with its
// stack, wherever it is thrown, and the loop goes on: timer, afterIdle, event,
// plain value.
let probe = new Probe();
setTimeout(function failingTimer() {
  kite.afterIdle(function failingIdle() {
    probe.onvalue = function onEvent(text) {
      probe.onvalue = null;
      setTimeout(() => { throw 42; }, 1);
      setTimeout(() => { console.log("loop went on"); probe = null; }, 20);
      throw new Error("from event " + text);
    };
    probe.fireLater("one");
    throw new TypeError("from afterIdle");
  });
  throw new Error("from timer");
}, 5);
