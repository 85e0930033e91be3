// Two log lines through the plug-in: one with a tag, one without.
(function () {
  const probe = new Probe();
  probe.log(4, "hello log", "KITE_TEST");
  probe.log(5, "no tag here");
})();
