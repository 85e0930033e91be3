// Network media on the GStreamer player through kite --adapter=gst, from the
// local media server that run_streaming.sh starts: each kind prepares with
// its duration, plays and reports its time. Argument: the server's
// http://127.0.0.1:PORT. Seeks are left to the scenario table.
kite.load("../../support/lib/assert.js");

const [BASE] = kite.args;
// Path on the server (byte ranges), and the duration it prepares with (ms).
const MEDIA = [
  ["/ranges/hls/vod.m3u8", 12000],
  ["/ranges/dash/vod.mpd", 12000],
  ["/ranges/vod.webm", 20000],
];
const STATE_PLAYING = 3;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Resolves with the first event of one of the names, rejects after timeoutMs.
async function firstOf(events, names, timeoutMs) {
  for (const end = Date.now() + timeoutMs; Date.now() < end; await sleep(20)) {
    const found = events.find((e) => names.includes(e.name));
    if (found) return found;
  }
  throw new Error("none of " + names + " within " + timeoutMs + " ms; got " + JSON.stringify(events.map((e) => e.name)));
}

async function plays(path, durationMs) {
  const player = new Tether();
  const events = [];
  for (const name of ["prepare_complete", "current_time", "error_event"])
    player["on" + name] = (arg) => events.push({ name, arg });
  try {
    assertEqual([player.player_create().return_ecode, player.player_set_uri({ param_url: BASE + path }).return_ecode,
                 player.player_prepare_async().return_ecode], [0, 0, 0], "create, set_uri, prepare_async");
    // Wide limits: the machine may be loaded; only what arrives is checked.
    const prepared = await firstOf(events, ["prepare_complete", "error_event"], 15000);
    assertEqual([prepared.name, prepared.arg], ["prepare_complete", undefined], "prepared");
    const duration = player.player_get_duration();
    assertTrue(duration.return_ecode === 0 && Math.abs(duration.return_data - durationMs) <= 100,
               "duration within 100 ms of " + durationMs + ": " + JSON.stringify(duration));
    assertEqual(player.player_play().return_ecode, 0, "play");
    events.length = 0;
    await sleep(1000);
    const ticked = await firstOf(events, ["current_time", "error_event"], 5000);
    assertEqual(ticked.name, "current_time", "a current time once playing: " + JSON.stringify(ticked));
    assertTrue(Number(ticked.arg) > 0 && Number(ticked.arg) <= durationMs, "current time " + ticked.arg);
    assertEqual(player.player_get_player_state().return_data, STATE_PLAYING, "state");
    assertEqual(events.filter((e) => e.name === "error_event"), [], "errors while playing");
  } finally {
    kite.destroy(player);
  }
}

(async () => {
  if (BASE === undefined || !/^http:\/\/127\.0\.0\.1:\d+$/.test(BASE)) throw new Error("usage: streaming.test.js http://127.0.0.1:PORT");
  for (const [path, durationMs] of MEDIA)
    await plays(path, durationMs).catch((e) => check(path, () => { throw e; }));
  done();
})();
