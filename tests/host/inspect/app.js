// The app that inspect_tests.py debugs: player events from the main loop, a timer and an afterIdle
// call. kite.args[0] names what throws an error that nothing catches: 'callback', 'timer', 'idle',
// 'promise', 'top' or 'load' (a timer of lib/loaded.js); or 'console', which calls every console method.
'use strict';
console.log('started with', kite.args.length, 'arguments');
const seen = [];
const thrower = kite.args[0];
const player = new Tether();
const adapter = sim.count() - 1;
player.onprepare_complete = function onPrepared() {
  const state = player.player_get_player_state();
  console.log('prepared', state.return_ecode);
  seen.push('prepared');
};
player.onbuffering = function onBuffering(percent) {
  if (thrower === 'callback')
    throw new Error('buffering ' + percent);
  seen.push('buffering ' + percent);
};
function start() {
  player.player_prepare_async();
  sim.emit(adapter, sim.PREPARE_COMPLETE);
  sim.emit(adapter, sim.BUFFERING, 50);
  setTimeout(function onTimer() {
    if (thrower === 'timer')
      throw new TypeError('timer');
    seen.push('timer');
  }, 30);
  kite.afterIdle(function onIdle() {
    setTimeout(() => { console.error(seen.join()); kite.destroy(player); }, 40);
    if (thrower === 'idle')
      throw new RangeError('idle');
    seen.push('idle');
  });
  if (thrower === 'promise')
    Promise.reject(new Error('rejected'));
}
// Before start(): sent to a client under a slow build, these calls could outlast
// the timer, which would then run before the events.
if (thrower === 'console') {
  console.info('info'); console.debug('debug'); console.warn('warn'); console.trace('trace');
  console.assert(false, 'assert'); console.count(); console.time(); console.timeEnd();
}
start();
if (thrower === 'top')
  throw new Error('top level');
if (thrower === 'load')
  kite.load('./lib/../lib/loaded.js');
