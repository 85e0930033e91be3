// The app whose pauses devtools_tests.py reads async call stacks from: a
// timer, a promise job, a player event, an afterIdle call and an interval,
// each scheduled by the one before.
'use strict';
const player = new Tether();
const adapter = sim.count() - 1;
function armTimer() {
  setTimeout(function onTimer() {
    debugger;
    Promise.resolve('job').then(function onJob() {
      debugger;
      listen();
    });
  }, 10);
}
function listen() {
  player.onprepare_complete = function onPrepared() {
    debugger;
    kite.afterIdle(function onIdle() {
      debugger;
      const interval = setInterval(function onTick() {
        debugger;
        clearInterval(interval);
        kite.destroy(player);
      }, 5);
    });
  };
  player.player_prepare_async();
  sim.emit(adapter, sim.PREPARE_COMPLETE);
}
armTimer();
