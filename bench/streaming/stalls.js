// How long the script thread waits on the GStreamer player, and how late
// the main loop's timers come meanwhile, during scripted network playback;
// or, with "bare", the same timers with no player, as the baseline.
//   kite --adapter=gst --plugin=TETHER stalls.js player|bare URL SECONDS
// Prints one JSON line: { longestCommand: {name, ms}, stallMs, commands,
// constructMs, destroyMs }: the player_* commands, then the object's
// construction (the first one starts GStreamer) and destruction (which
// waits for the pipeline to stop) on their own.
const [mode, url, seconds] = kite.args;
const runMs = Number(seconds) * 1000;
const TIMER_MS = 10;

let stallMs = 0;
let timerRunning = true;
function timerStep(due) {
  setTimeout(() => {
    stallMs = Math.max(stallMs, performance.now() - due);
    if (timerRunning) timerStep(performance.now() + TIMER_MS);
  }, TIMER_MS);
}
timerStep(performance.now() + TIMER_MS);

const longest = { name: "", ms: 0 };
let commands = 0;
function timed(name, run) {
  const start = performance.now();
  const result = run();
  const ms = performance.now() - start;
  commands++;
  if (ms > longest.ms) Object.assign(longest, { name, ms });
  return result;
}
function lifetimeMs(run) {
  const start = performance.now();
  const result = run();
  return [result, performance.now() - start];
}
let constructMs = 0;
let destroyMs = 0;

// What an app does to a stream: each step a while after the one before,
// paused seeks and skips past either end among them.
const script = [
  ["player_play"], ["player_get_current_position"],
  ["player_seek_to", { param_seek_to: 8000 }], ["player_get_duration"],
  ["player_pause"], ["player_seek_to", { param_seek_to: 2000 }], ["player_skip", { param_skip: 3000 }],
  ["player_resume"], ["player_skip", { param_skip: -100000 }], ["player_get_player_state"],
  ["player_skip", { param_skip: 100000 }], ["player_play"],
  ["player_stop"], ["player_play"], ["player_skip", { param_skip: 4000 }],
];

function finish(player) {
  timerRunning = false;
  if (player) destroyMs = lifetimeMs(() => kite.destroy(player))[1];
  console.log(JSON.stringify({ mode, longestCommand: longest, stallMs, commands, constructMs, destroyMs }));
}

if (mode === "bare") {
  setTimeout(() => finish(null), runMs);
} else {
  const [player, ms] = lifetimeMs(() => new Tether());
  constructMs = ms;
  let step = 0;
  player.onprepare_complete = () => {
    const interval = setInterval(() => {
      const [method, arg] = script[step++ % script.length];
      timed(method, () => player[method](arg));
    }, 250);
    setTimeout(() => { clearInterval(interval); finish(player); }, runMs);
  };
  player.onerror_event = (text) => { console.error("player error:", text); };
  timed("player_create", () => player.player_create());
  timed("player_set_uri", () => player.player_set_uri({ param_url: url }));
  timed("player_prepare_async", () => player.player_prepare_async());
}
