// The app whose pauses devtools_tests.py reads async call stacks from: a
// timer, a promise job, a player event and an afterIdle call, each
// scheduled by the one before.
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
      kite.destroy(player);
    });
  };
  player.player_prepare_async();
  sim.emit(adapter, sim.PREPARE_COMPLETE);
}
armTimer();
