// A Probe that nothing reaches, whose thread posts "1" to "3" to onvalue
// through a thread-safe call: ref'd (kite.args[0] "ref") it outlives the
// collection and keeps the run going until its events are in; unref'd the
// collection destroys it and its queued events are dropped. kite.args[1]:
// how many milliseconds the thread waits before it posts.
(() => {
  const probe = new Probe();
  probe.onvalue = (value) => console.log(value);
  probe.countFromThread(3, kite.args[0] === 'ref', Number(kite.args[1] || 0));
})();
kite.gc();
