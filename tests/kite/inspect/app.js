// The app that inspect_tests.py debugs: player events that arrive from the main loop, a timer
// and an afterIdle call. kite.args[0] 'throw': a callback throws; 'console': every console method.
'use strict';
const seen = [];
const player = new Tether();
const adapter = sim.count() - 1;
player.onprepare_complete = function onPrepared() {
  const state = player.player_get_player_state();
  seen.push('prepared');
};
player.onbuffering = function onBuffering(percent) {
  if (kite.args[0] === 'throw')
    throw new Error('buffering ' + percent);
  seen.push('buffering ' + percent);
};
function start() {
  console.log('started with', kite.args.length, 'arguments');
  player.player_prepare_async();
  sim.emit(adapter, sim.PREPARE_COMPLETE);
  sim.emit(adapter, sim.BUFFERING, 50);
  setTimeout(() => seen.push('timer'), 30);
  kite.afterIdle(() => {
    seen.push('idle');
    setTimeout(() => { console.error(seen.join()); kite.destroy(player); }, 40);
  });
}
start();
if (kite.args[0] === 'console') {
  console.info('info'); console.debug('debug'); console.warn('warn'); console.trace('trace');
  console.assert(false, 'assert'); console.count(); console.time(); console.timeEnd();
}
