// The example plug-in through an installed kite: Clock's methods, its ontick
// property fired from the main loop with the ticks of the clock's thread,
// and receivers that are no Clock.
//   KITE_PLUGIN_PATH=FOLDER-OF-libClock.so kite --adapter=sim clock.test.js
//   kite --plugin=FOLDER-OF-libClock.so/libClock.so clock.test.js
'use strict';

function expect(what, actual, expected) {
  if (actual !== expected) throw new Error(`${what}: expected ${expected}, got ${actual}`);
}
function expectThrow(what, call, message, kind = Error) {
  try { call(); } catch (e) { expect(`${what}, its kind`, e.constructor, kind); return expect(what, e.message, message); }
  throw new Error(`${what}: nothing thrown`);
}

const NO_INSTANCE = 'Cannot call native method without object instance';
const clock = new Clock();
expect('ticks before start', clock.ticks(), 0);
expectThrow('start without an interval', () => clock.start({}), 'start needs { interval_ms: a number from 1 }',
            RangeError);
expectThrow('a plain receiver', () => clock.ticks.call({}), NO_INSTANCE);
// Tether comes from kite's own plug-in folder, which --plugin=libClock.so
// leaves out.
if (typeof Tether === 'function') expectThrow('a Tether receiver', () => clock.stop.call(new Tether()), NO_INSTANCE);
expectThrow('ontick on a plain receiver', () => Reflect.set(clock, 'ontick', () => {}, {}),
            'Attempt to pass a JSObject as a native object');

const seen = [];
let stopped = false;
let looseTicks = 0;
const finish = () => {
  if (!stopped || looseTicks < 3) return;
  expect('ticks seen, none after stop', seen.join(), '1,2,3');
  console.log('clock: ok');
  kite.quit(0);
};
clock.ontick = (count) => {
  seen.push(count);
  if (count < 3) return;
  clock.stop();
  expect('ticks after the third', clock.ticks(), 3);
  setTimeout(() => { stopped = true; finish(); }, 50);
};
expect('ontick read back', clock.ontick, undefined);
clock.start({ interval_ms: 10 });

// A ticking clock holds its object, as a timer holds its function: one that
// nothing reaches ticks on through a collection.
(() => {
  const loose = new Clock();
  loose.ontick = (count) => { looseTicks = count; finish(); };
  loose.start({ interval_ms: 10 });
})();
kite.gc();
// The clocks keep the run going: a failure ends it.
setTimeout(() => {
  console.error(`ticks seen after 5 s: ${seen}; of the clock nothing reaches: ${looseTicks}`);
  kite.quit(1);
}, 5000);
