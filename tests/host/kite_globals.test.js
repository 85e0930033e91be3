// The globals kite gives scripts for testing: kite.load and the log capture.
// Timers are in kite_late_timers.test.js, kite.args in the kite.run tests.
kite.load("../support/lib/assert.js");

check("kite.load runs files relative to the main script", () => {
  assertEqual(typeof assertEqual, "function");
  const error = assertThrows(() => kite.load("lib/no-such-file.js"));
  assertTrue(/^kite\.load: cannot read .*lib\/no-such-file\.js: No such file or directory$/.test(error.message),
             "message: " + error.message);
  const syntax = assertThrows(() => kite.load("../host/scripts/syntax_error.js"));
  assertTrue(syntax instanceof SyntaxError, "a SyntaxError");
  const thrown = assertThrows(() => kite.load("../host/scripts/uncaught_value.js"));
  assertEqual(thrown, 42, "the loaded script's own exception");
  assertThrows(() => kite.load(5), "kite.load: the argument must be a path");
});

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
