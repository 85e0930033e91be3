// An exception of a function that the bridge library calls from the main
// loop (as it delivers a plug-in's event) is reported; the loop goes on.
let probe = new Probe();
probe.onvalue = function onEvent(text) { throw new Error("from event " + text); };
probe.fireLater("one");
kite.afterIdle(() => {
  probe.onvalue = (text) => console.log("second event " + text);
  probe.fireLater("two");
  kite.afterIdle(() => { probe = null; });
});
