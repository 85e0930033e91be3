// A tour of the Tether script interface on the simulated player: every
// method once with its result, the player states, wrong arguments, and the
// callbacks with what they receive, in the words of docs/script-api.md.
//   kite --adapter=sim examples/tour.js
'use strict';

const MEANINGS = { 0: 'done', '-1': 'refused by the player', '-2': 'unusable arguments' };
const STATES = ['no media', 'media set', 'prepared', 'playing', 'paused', 'not opened'];

/**
 * @param {string} label
 * @param {TetherResult | TetherQueryResult} result
 * @param {boolean} [isState] return_data is a player state
 */
function show(label, result, isState) {
  let text = `${result.return_ecode} (${MEANINGS[result.return_ecode]})`;
  if ('return_data' in result)
    text += `, return_data ${result.return_data}${isState ? ` (${STATES[result.return_data]})` : ''}`;
  console.log(`  ${label.padEnd(56)} -> ${text}`);
}

const player = new Tether();
const adapter = sim.count() - 1;  // this object's simulated player

console.log('Results: return_ecode, and return_data from the queries');
show('player_get_player_state()', player.player_get_player_state(), true);
show('player_create()', player.player_create());
show('player_set_uri({ param_url: "file:///media/clip.mp4" })',
     player.player_set_uri({ param_url: 'file:///media/clip.mp4' }));
// @ts-expect-error: the argument object is missing
show('player_set_uri()', player.player_set_uri());

console.log('Preparing and playing');
show('player_prepare()', player.player_prepare());
show('player_prepare_async()', player.player_prepare_async());
show('player_set_output_area()', player.player_set_output_area());
show('player_set_streaming_property({ ... }, { ... })',
     player.player_set_streaming_property({ param_property_type: 'USER_AGENT' },
                                          { param_property_param: 'Tether/1.0' }));
show('player_play()', player.player_play());
show('player_pause()', player.player_pause());
show('player_resume()', player.player_resume());
show('player_seek_to({ param_seek_to: 5000 })', player.player_seek_to({ param_seek_to: 5000 }));
show('player_skip({ param_skip: -30.5 })', player.player_skip({ param_skip: -30.5 }));
show('player_stop()', player.player_stop());

console.log('Queries (the simulated player reports 93000 ms, at 4200 ms, playing)');
sim.report(adapter, { duration: 93000, position: 4200, state: 3 });
show('player_get_duration()', player.player_get_duration());
show('player_get_current_position()', player.player_get_current_position());
show('player_get_player_state()', player.player_get_player_state(), true);

console.log('Suspend, restore, sound analysis');
show('player_suspend({})', player.player_suspend({}));
show('player_restore({ param_restore_resume_time: 4200, ... })',
     player.player_restore({ param_restore_resume_time: 4200, param_restore_prepare: true }));
show('player_set_party_tv_mode({ param_party_mode: true })',
     player.player_set_party_tv_mode({ param_party_mode: true }));
show('player_register_sound_analysis_listener(() => {}, {})',
     player.player_register_sound_analysis_listener(() => {}, {}));

console.log('When the player refuses');
sim.answer(adapter, 'play', false);
show('player_play()', player.player_play());
sim.answer(adapter, 'play', true);

console.log('Wrong keys and bare values: the default is used, and the call answers');
// @ts-expect-error: a bare number instead of { param_seek_to }
show('player_seek_to(5000)', player.player_seek_to(5000));
// @ts-expect-error: a misspelt key
show('player_set_uri({ url: "a.mp4" })', player.player_set_uri({ url: 'a.mp4' }));

console.log('What the simulated player was asked:');
for (const call of sim.calls(adapter)) console.log('  ' + call);

console.log('Callbacks: always a string, or no argument at all');
player.onbuffering = (percent) => console.log(`  onbuffering(${JSON.stringify(percent)})`);
player.onseek_complete = (...args) => console.log(`  onseek_complete() with ${args.length} arguments`);
player.oncurrent_time = (time) => console.log(`  oncurrent_time(${JSON.stringify(time)})`);
player.onerror_event = (text) => console.log(`  onerror_event(${JSON.stringify(text)})`);
player.onasm_pause = (text) => console.log(`  onasm_pause(${JSON.stringify(text)})`);
player.onsound_analysis = (bands) => console.log(`  onsound_analysis(${JSON.stringify(bands)})`);
sim.emit(adapter, sim.BUFFERING, 75);
sim.emit(adapter, sim.SEEK_COMPLETE);
sim.emit(adapter, sim.CURRENT_TIME, 4200);
sim.emit(adapter, sim.ERROR_EVENT, { type: 1, param1: 'Network unreachable', param2: 'not passed on' });
sim.emit(adapter, sim.ASM_PAUSE, { type: 65, param1: 'sink', param2: 'PAUSED' });
sim.emit(adapter, sim.SOUND_ANALYSIS, [3, -1, 12]);
console.log(`  (delivered once this code is done; reading a callback property gives ${player.onbuffering})`);

kite.afterIdle(() => {
  show('player_close()', player.player_close());
  // A reachable object keeps the run going: destroying it ends the run.
  kite.destroy(player);
  console.log('Done.');
});
