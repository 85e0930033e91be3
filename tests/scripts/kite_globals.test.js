// The globals kite gives scripts: timers, kite.args, kite.load, the log
// capture and the main thread's id.
kite.load("lib/assert.js");

check("kite.args is empty without script arguments", () => {
  assertEqual(kite.args, []);
});

check("kite.load runs files relative to the main script", () => {
  assertEqual(typeof assertEqual, "function");
  const error = assertThrows(() => kite.load("lib/no-such-file.js"));
  assertTrue(/^kite\.load: cannot read .*lib\/no-such-file\.js: No such file or directory$/.test(error.message),
             "message: " + error.message);
  const syntax = assertThrows(() => kite.load("../kite/scripts/syntax_error.js"));
  assertTrue(syntax instanceof SyntaxError, "a SyntaxError");
  const thrown = assertThrows(() => kite.load("../kite/scripts/uncaught_value.js"));
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

check("kite.tid is the main thread's kernel id", () => {
  const tid = kite.tid();
  assertTrue(Number.isInteger(tid) && tid > 0, "a positive integer");
  assertEqual(kite.tid(), tid, "stable");
});

check("setTimeout and clearTimeout check their arguments", () => {
  assertThrows(() => setTimeout("code", 1), "setTimeout: the first argument must be a function");
  clearTimeout(123456);
  clearTimeout("x");
  clearTimeout();
});

const mainTid = kite.tid();
const fired = [];
// Delays lie far apart: on a slow target, setting the timers takes time too.
const cancelled = setTimeout(() => fired.push("cancelled"), 50);
setTimeout((a, b) => fired.push("300 " + a + b), 300, "x", "y");
setTimeout(() => fired.push("0"));
setTimeout(() => fired.push("100"), 100);
setTimeout(() => fired.push("negative"), -5);
clearTimeout(cancelled);
const selfCancel = setTimeout(() => { fired.push("self"); clearTimeout(selfCancel); }, 200);
setTimeout(() => {
  check("timers fire by delay, with their extra arguments, on the main thread", () => {
    assertEqual(fired, ["0", "negative", "100", "self", "300 xy"]);
    assertEqual(kite.tid(), mainTid);
  });
  const probe = new Probe();
  probe.onvalue = () => {
    check("plug-in events run on the main thread", () => assertEqual(kite.tid(), mainTid));
    done();
  };
  probe.fireLater();
}, 600);
