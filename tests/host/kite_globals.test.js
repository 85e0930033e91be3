// The log capture kite gives scripts for testing. Timers are in
// kite_late_timers.test.js, kite.load in runner/load.test.js, kite.args in
// the kite.run tests.
kite.load("../support/lib/assert.js");

check("log capture", () => {
  const probe = new Probe();
  probe.log(3, "not captured");
  kite.captureLog(true);
  probe.log(4, "with tag", "KITE_TEST");
  probe.log(5, "no tag");
  assertEqual(kite.takeLog(), [
    { priority: 4, tag: "KITE_TEST", text: "with tag" },
    { priority: 5, tag: null, text: "no tag" },
  ]);
  assertEqual(kite.takeLog(), [], "taking empties the capture");
  kite.captureLog(false);
  probe.log(4, "after capture");
  assertEqual(kite.takeLog(), []);
});

done();
