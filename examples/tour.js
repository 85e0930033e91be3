// A tour of the Tether script interface on the simulated player: every
// method once, with what it answered, then a few player events.
'use strict';

const codes = { 0: 'ok', '-1': 'refused by the player', '-2': 'bad arguments' };

function describe(result) {
  if (result === undefined) return 'undefined';
  let text = `${result.return_ecode} (${codes[result.return_ecode] || '?'})`;
  if ('return_data' in result) text += `, value ${result.return_data}`;
  return text;
}

function show(label, result) {
  console.log(`  ${label.padEnd(58)} -> ${describe(result)}`);
}

const player = new Tether();
const adapter = sim.count() - 1;

console.log('Lifecycle');
show('player_get_player_state()', player.player_get_player_state());
show('player_create()', player.player_create());
show('player_set_uri({param_url: "file:///media/clip.mp4"})',
     player.player_set_uri({ param_url: 'file:///media/clip.mp4' }));
show('player_set_uri() with no argument', player.player_set_uri());

console.log('Preparing');
show('player_prepare()', player.player_prepare());
show('player_prepare_async()', player.player_prepare_async());
show('player_set_output_area()', player.player_set_output_area());
show('player_set_streaming_property({...}, {...})',
     player.player_set_streaming_property({ param_property_type: 'USER_AGENT' },
                                          { param_property_param: 'Tether/1.0' }));

console.log('Transport');
show('player_play()', player.player_play());
show('player_pause()', player.player_pause());
show('player_resume()', player.player_resume());
show('player_seek_to({param_seek_to: 5000})', player.player_seek_to({ param_seek_to: 5000 }));
show('player_skip({param_skip: -30.5})', player.player_skip({ param_skip: -30.5 }));
show('player_stop()', player.player_stop());

console.log('Queries (the simulated player reports 93000 ms, at 4200 ms, playing)');
sim.report(adapter, { duration: 93000, position: 4200, state: 3 });
show('player_get_duration()', player.player_get_duration());
show('player_get_current_position()', player.player_get_current_position());
show('player_get_player_state()', player.player_get_player_state());

console.log('Suspend, restore, sound analysis');
show('player_suspend({})', player.player_suspend({}));
show('player_restore({param_restore_url: "", ... 4200, true})',
     player.player_restore({ param_restore_url: '', param_restore_resume_time: 4200,
                             param_restore_prepare: true }));
show('player_set_party_tv_mode({param_party_mode: true})',
     player.player_set_party_tv_mode({ param_party_mode: true }));
show('player_register_sound_analysis_listener(fn, {})',
     player.player_register_sound_analysis_listener(() => {}, {}));

console.log('When the player refuses');
sim.answer(adapter, 'play', false);
show('player_play()', player.player_play());
sim.answer(adapter, 'play', true);

console.log('What the simulated player was asked:');
for (const call of sim.calls(adapter)) console.log('  ' + call);

console.log('Events');
player.onbuffering = (percent) => console.log(`  onbuffering(${JSON.stringify(percent)})`);
player.onseek_complete = (...args) => console.log(`  onseek_complete() with ${args.length} arguments`);
player.oncurrent_time = (time) => console.log(`  oncurrent_time(${JSON.stringify(time)})`);
player.onerror_event = (text) => console.log(`  onerror_event(${JSON.stringify(text)})`);
player.onsound_analysis = (bands) => console.log(`  onsound_analysis(${JSON.stringify(bands)})`);
sim.emit(adapter, 0, 75);
sim.emit(adapter, 3);
sim.emit(adapter, 4, 4200);
sim.emit(adapter, 5, { type: 1, param1: 'Network unreachable', param2: 'debug text' });
sim.emit(adapter, 8, [3, -1, 12]);

kite.afterIdle(() => {
  show('player_close()', player.player_close());
  kite.destroy(player);
  console.log('Done.');
});
