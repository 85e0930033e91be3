// Object lifetime through kite: kite.destroy, and the order of
// kite.afterIdle relative to events queued on the main loop.
kite.load("../support/lib/assert.js");

check("a class needs new and a native; kite.destroy takes objects of plug-in classes only", () => {
  assertTrue(assertThrows(() => Probe(), "Class constructor Probe cannot be invoked without 'new'") instanceof TypeError);
  assertTrue(assertThrows(() => kite.destroy(5), "kite.destroy: the argument must be an object") instanceof TypeError);
  assertEqual(kite.destroy({}), false, "plain object");
  const probe = new Probe();
  const destroyed = probe.destroyedCount();
  assertEqual(kite.destroy(probe), true);
  assertEqual(new Probe().destroyedCount(), destroyed + 1);
});

// Events queued by the plug-in before an afterIdle call are delivered before
// it; afterIdle calls run in the order they were made.
const order = [];
const probe = new Probe();
probe.onvalue = (text) => order.push("event " + text);
probe.fireLater("1");
probe.fireLater("2");
kite.afterIdle(() => {
  order.push("idle A");
  probe.fireLater("3");
  kite.afterIdle(() => {
    order.push("idle C");
    check("afterIdle runs after what was queued before it", () => {
      assertEqual(order, ["event 1", "event 2", "idle A", "idle B", "event 3", "idle C"]);
    });
    probe.onvalue = null;
    done();
  });
});
kite.afterIdle(() => order.push("idle B"));
assertThrows(() => kite.afterIdle("not a function"), "kite.afterIdle: the argument must be a function");
