// A line with colour escapes and one of another tag, and what the capture
// keeps of them.
(function () {
  const probe = new Probe();
  kite.captureLog(true);
  probe.log(5, "\x1b[31mred\x1b[0m and plain", "KITE_TEST");
  probe.log(3, "debug", "OTHER");
  console.log(JSON.stringify(kite.takeLog().map((line) => line.text)));
  kite.captureLog(false);
})();
