// A media player on the Tether script interface: plays a URI or a file and
// shows, as it plays, the player's state, the position against the
// duration, buffering and the sound-analysis bands; it ends at the end of
// the stream.
//   kite --adapter=gst examples/player.js [URI-OR-PATH]
// Without media it plays build/media/sample.wav, which
// `scripts/make-sample.sh steps build/media/sample.wav` makes.
'use strict';

const media = kite.args[0] || 'build/media/sample.wav';
// The player states by their number (docs/script-api.md, "Player states").
const STATES = ['no media', 'media set', 'prepared', 'playing', 'paused', 'not opened'];
const LEVELS = ' ▁▂▃▄▅▆▇█';
const BAR_WIDTH = 30;
const SHOW_EVERY_MS = 250;

const player = new Tether();
let duration;          // ms, once prepared; undefined for live media
let position = 0;      // ms, from the current-time events
let buffering;         // percent, while the network source fills its buffer
let bands = [];        // 0 to 100 each
let lastShown = 0;

function answer(result, what) {
  if (result.return_ecode !== 0) stop(1, `${what} refused (${result.return_ecode})`);
  return result;
}

function clock(ms) {
  const tenths = Math.floor(ms / 100);
  const minutes = Math.floor(tenths / 600);
  const seconds = ((tenths % 600) / 10).toFixed(1).padStart(4, '0');
  return `${String(minutes).padStart(2, '0')}:${seconds}`;
}

function progress() {
  if (!duration) return `${clock(position)} (live)`;
  const filled = Math.round(BAR_WIDTH * Math.min(position / duration, 1));
  return `${clock(position)} / ${clock(duration)} [${'#'.repeat(filled)}${'.'.repeat(BAR_WIDTH - filled)}]`;
}

function levels() {
  return bands.map((b) => LEVELS[Math.min(LEVELS.length - 1, Math.round(b * (LEVELS.length - 1) / 100))]).join('');
}

function state() {
  const result = player.player_get_player_state();
  if (result.return_ecode !== 0) return 'unknown';
  return STATES[result.return_data] || `state ${result.return_data}`;
}

function show(force) {
  const now = Date.now();
  if (!force && now - lastShown < SHOW_EVERY_MS) return;
  lastShown = now;
  let line = `${state().padEnd(10)} ${progress()} ${levels()}`;
  if (buffering !== undefined && buffering < 100) line += ` buffering ${buffering}%`;
  console.log(line);
}

function stop(code, message) {
  if (message) (code === 0 ? console.log : console.error)(message);
  kite.destroy(player);
  kite.quit(code);
}

player.onprepare_complete = () => {
  const result = player.player_get_duration();
  duration = result.return_ecode === 0 && result.return_data > 0 ? result.return_data : undefined;
  console.log(`playing ${media}${duration ? `, ${clock(duration)}` : ''}`);
  answer(player.player_play(), 'play');
  show(true);
};
// Event arguments are strings.
player.oncurrent_time = (time) => {
  position = Number(time);
  show(false);
};
player.onbuffering = (percent) => {
  buffering = Number(percent);
  show(true);
};
player.onsound_analysis = (text) => {
  bands = text ? text.split('|').map(Number) : [];
};
player.onasm_pause = (text) => console.log(`paused by the sound server (${text})`);
player.onasm_resume = (text) => console.log(`resumed by the sound server (${text})`);
player.onerror_event = (message) => {
  const hint = kite.args[0] ? '' : ` (make the sample with: scripts/make-sample.sh steps ${media})`;
  stop(1, `error: ${message || 'unknown'}${hint}`);
};
player.onplay_complete = () => {
  if (duration) position = duration;
  show(true);
  stop(0, 'end of stream');
};

answer(player.player_create(), 'create');
answer(player.player_set_uri({ param_url: media }), `media ${media}`);
player.player_set_party_tv_mode({ param_party_mode: true });
// A refusal comes with an error event that says why; it ends the run.
if (player.player_prepare_async().return_ecode !== 0)
  setTimeout(() => stop(1, 'prepare refused'), 2000);
