// The model player over the network that sim.media describes: kinds,
// buffering periods and their levels, latency, bandwidth and stalls, 404s,
// unseekable, endless and growing media, failures ahead, held prepares and
// sim.release, and the refusals of each field. Each row: the description,
// what the script does, and the log it must leave: the events in order as
// "kind:text@ms" (ms since the row began), with the answers the row logs
// between them.
kite.load("../../support/lib/assert.js");
kite.load("lib/rows.js");

const EVENTS = ["buffering", "prepare_complete", "play_complete", "seek_complete", "current_time", "error_event"];
const URL = "net.media";

// A player on URL whose events go to log, stamped with the time since start.
const player = (log, start) => loggedPlayer(URL, log, EVENTS, (entry) => entry + "@" + (sim.now() - start));
// The state and the position, as "3@1500".
const where = (p) => data(p.player_get_player_state()) + "@" + data(p.player_get_current_position());
const quiet = (p) => { p.oncurrent_time = null; };
const restore = (prepare) => ({ param_restore_url: "", param_restore_resume_time: 0, param_restore_prepare: prepare });

const ROWS = [
  // Kinds and buffering periods.
  ["kind 'file': no buffering, prepared at once", { kind: "file", duration: 1000 }, (p, log) => {
    log(code(p.player_prepare_async()));
  }, [0, "prepare_complete@0"]],
  ["latency: a period as long at each prepare, seek and skip, stop and replay", { kind: "hls", duration: 4000, latency: 200 }, (p, log) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(200);
    p.player_play();
    sim.advance(100);
    p.player_seek_to({ param_seek_to: 1000 });
    p.player_skip({ param_skip: 500 });
    log(data(p.player_get_current_position()));
    sim.advance(300);
    log(code(p.player_stop()) + " " + where(p));
    sim.advance(200);
    p.player_play();
    sim.advance(4000);
    log(where(p));
    p.player_play();
    sim.advance(300);
    log(where(p));
  }, ["buffering:0@0", "buffering:100@200", "prepare_complete@200", 1500,
      "buffering:0@300", "buffering:100@500", "seek_complete@500", "0 2@0",
      "buffering:0@600", "buffering:100@800", "play_complete@4800", "2@4000",
      "buffering:0@4800", "buffering:100@5000", "3@100"]],
  ["player_prepare answers at once; its period follows, and play waits for it", { kind: "http", duration: 5000, latency: 300 }, (p, log) => {
    log(code(p.player_prepare()) + " " + where(p));
    p.player_play();
    log(where(p));
    sim.advance(400);
    log(where(p));
  }, ["0 2@0", "3@0", "buffering:0@0", "buffering:100@300", "current_time:100@400", "3@100"]],
  ["a stop during a seek's period: no seek_complete, the stop's period from 0", { kind: "http", duration: 5000, latency: 200 }, (p, log) => {
    p.player_prepare_async();
    sim.advance(200);
    p.player_seek_to({ param_seek_to: 3000 });
    sim.advance(100);
    log(code(p.player_stop()) + " " + where(p));
    sim.advance(200);
  }, ["buffering:0@0", "buffering:100@200", "prepare_complete@200", "buffering:0@200", "0 2@0",
      "buffering:0@300", "buffering:100@500"]],
  ["a seek during a seek's period starts it again from 0; one seek_complete", { kind: "http", duration: 10000, bandwidth: 2 }, (p) => {
    p.player_prepare_async();
    sim.advance(1000);
    p.player_seek_to({ param_seek_to: 5000 });
    sim.advance(450);
    p.player_seek_to({ param_seek_to: 7000 });
    sim.advance(1000);
  }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
      "buffering:100@1000", "prepare_complete@1000", "buffering:0@1000", "buffering:20@1200", "buffering:40@1400",
      "buffering:0@1450", "buffering:20@1650", "buffering:40@1850", "buffering:60@2050", "buffering:80@2250",
      "buffering:100@2450", "seek_complete@2450"]],

  // Bandwidth: levels as the buffer fills, and stalls.
  ["bandwidth 4 fills 2 s of media in 500 ms; levels 10 points and 200 ms apart", { kind: "dash", duration: 60000, bandwidth: 4 }, (p) => {
    p.player_prepare_async();
    sim.advance(500);
  }, ["buffering:0@0", "buffering:40@200", "buffering:80@400", "buffering:100@500", "prepare_complete@500"]],
  ["a period fills what is left of the media, up to 2 s", { kind: "http", duration: 10000, bandwidth: 2 }, (p) => {
    p.player_prepare_async();
    sim.advance(1000);
    p.player_seek_to({ param_seek_to: 9500 });
    sim.advance(250);
  }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
      "buffering:100@1000", "prepare_complete@1000",
      "buffering:0@1000", "buffering:80@1200", "buffering:100@1250", "seek_complete@1250"]],
  ["below 1, a download that reaches the end first plays through", { kind: "http", duration: 400, bandwidth: 0.5 }, (p) => {
    p.player_prepare_async();
    sim.advance(800);
    p.player_play();
    sim.advance(1000);
  }, ["buffering:0@0", "buffering:25@200", "buffering:50@400", "buffering:75@600", "buffering:100@800",
      "prepare_complete@800", "current_time:100@900", "current_time:200@1000", "current_time:300@1100",
      "play_complete@1200"]],
  ["below 1 the buffer runs dry after 2 s / (1 - bandwidth) of play; the stall's period has the latency too",
   { kind: "dash", duration: 60000, bandwidth: 0.5, latency: 100 }, (p, log) => {
     quiet(p);
     p.player_prepare_async();
     sim.advance(4100);
     p.player_play();
     sim.advance(4000);
     log(where(p));
     sim.advance(4100);
     log(where(p));
   }, ["buffering:0@0", "buffering:10@500", "buffering:20@900", "buffering:30@1300", "buffering:40@1700",
       "buffering:50@2100", "buffering:60@2500", "buffering:70@2900", "buffering:80@3300", "buffering:90@3700",
       "buffering:100@4100", "prepare_complete@4100", "buffering:0@8100", "3@4000",
       "buffering:10@8600", "buffering:20@9000", "buffering:30@9400", "buffering:40@9800", "buffering:50@10200",
       "buffering:60@10600", "buffering:70@11000", "buffering:80@11400", "buffering:90@11800", "buffering:100@12200",
       "3@4000"]],
  ["below 1 the buffer runs dry: playback holds (state 3, no time, position still) for a period, then goes on",
   { kind: "hls", live: { window: 500 }, bandwidth: 0.5 }, (p, log) => {
     p.player_prepare_async();
     sim.advance(1000);
     p.player_play();
     sim.advance(1500);
     log(where(p));
     sim.advance(600);
   }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
       "buffering:100@1000", "prepare_complete@1000",
       "current_time:100@1100", "current_time:200@1200", "current_time:300@1300", "current_time:400@1400",
       "current_time:500@1500", "current_time:600@1600", "current_time:700@1700", "current_time:800@1800",
       "current_time:900@1900", "buffering:0@2000", "buffering:20@2200", "buffering:40@2400", "3@1000",
       "buffering:60@2600", "buffering:80@2800", "buffering:100@3000", "current_time:1100@3100"]],
  ["while paused the buffer fills again, so playback runs longer before it runs dry",
   { kind: "hls", live: { window: 500 }, bandwidth: 0.5 }, (p, log) => {
     quiet(p);
     p.player_prepare_async();
     sim.advance(1000);
     p.player_play();
     sim.advance(500);
     p.player_pause();
     sim.advance(1000);
     p.player_resume();
     sim.advance(1100);
     log(where(p));
   }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
       "buffering:100@1000", "prepare_complete@1000", "buffering:0@3500", "3@1500"]],

  // Errors of the server.
  ["a 404 on network media: 0, then 100, then the error; state 1", { kind: "http", duration: 1000, error: "http-404", latency: 300 }, (p, log) => {
    log(code(p.player_prepare_async()));
    sim.advance(300);
    log(where(p));
    log(code(p.player_prepare()));
  }, [0, "buffering:0@0", "buffering:100@300", "error_event:Not Found@300", "1@refused", -1,
      "buffering:0@300", "buffering:100@300", "error_event:Not Found@300"]],
  ["a refused connection buffers nothing", { kind: "http", error: "refused" }, (p) => {
    p.player_prepare_async();
  }, ["error_event:Internal data stream error.@0"]],
  ["an HTTP 404 described without a kind is a file's error, with no buffering", { error: "http-404" }, (p) => {
    p.player_prepare_async();
  }, ["error_event:Not Found@0"]],

  // The end, and media that cannot seek back.
  ["a skip past the end while playing: seek_complete, then play_complete, no time at the duration", { duration: 1000 }, (p, log) => {
    p.player_prepare();
    p.player_play();
    sim.advance(250);
    p.player_skip({ param_skip: 5000 });
    sim.advance(100);
    log(where(p));
  }, ["current_time:100@100", "current_time:200@200", "seek_complete@250", "play_complete@250", "2@1000"]],
  ["HTTP without byte ranges: seek and skip -1, play goes on; stop and replay open it again", { kind: "http", duration: 3000, ranges: false, latency: 100 }, (p, log) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(100);
    p.player_play();
    sim.advance(300);
    log(code(p.player_seek_to({ param_seek_to: 0 })) + " " + code(p.player_skip({ param_skip: 500 })));
    sim.advance(100);
    log(where(p));
    log(code(p.player_stop()) + " " + where(p));
    sim.advance(100);
    p.player_play();
    sim.advance(3000);
    log(code(p.player_play()));
    sim.advance(300);
    log(where(p));
  }, ["buffering:0@0", "buffering:100@100", "prepare_complete@100", "-1 -1", "3@400", "0 2@0",
      "buffering:0@500", "buffering:100@600", "play_complete@3600", 0,
      "buffering:0@3600", "buffering:100@3700", "3@200"]],
  ["HTTP without a length: duration -1, no seeking; plays to its end, and again from the start", { kind: "http", duration: 1000, length: false }, (p, log) => {
    quiet(p);
    log(code(p.player_prepare()));
    log(data(p.player_get_duration()));
    log(code(p.player_seek_to({ param_seek_to: 500 })) + " " + code(p.player_skip({ param_skip: 500 })));
    p.player_play();
    sim.advance(1000);
    log(code(p.player_play()));
    sim.advance(300);
    log(where(p));
  }, [0, "refused", "-1 -1", "buffering:0@0", "buffering:100@0", "play_complete@1000", 0,
      "buffering:0@1000", "buffering:100@1000", "3@300"]],
  ["a live playlist: duration -1, no seeking, no end; stop opens it again", { kind: "hls", live: true }, (p, log) => {
    quiet(p);
    p.player_prepare();
    log(data(p.player_get_duration()));
    log(code(p.player_seek_to({ param_seek_to: 0 })) + " " + code(p.player_skip({ param_skip: 10 })));
    p.player_play();
    sim.advance(3600000);
    log(where(p));
    log(code(p.player_stop()) + " " + where(p));
  }, ["refused", "-1 -1", "buffering:0@0", "buffering:100@0", "3@3600000", "0 2@0",
      "buffering:0@3600000", "buffering:100@3600000"]],

  ["an event playlist: no duration and no seeking until it lists its end, then on demand", { kind: "hls", duration: 12000, live: { ends: 6000 } }, (p, log) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(0);
    log(data(p.player_get_duration()) + " " + code(p.player_seek_to({ param_seek_to: 1000 })) + " " + code(p.player_skip({ param_skip: 10 })));
    p.player_play();
    sim.advance(6000);
    log(data(p.player_get_duration()) + " " + where(p));
    log(code(p.player_skip({ param_skip: 4000 })));
    sim.advance(3000);
  }, ["buffering:0@0", "buffering:100@0", "prepare_complete@0", "refused -1 -1", "12000 3@6000", 0,
      "buffering:0@6000", "buffering:100@6000", "seek_complete@6000", "play_complete@8000"]],

  // Failures: the player reads on past its buffer, so it meets a failure
  // as its reading reaches it.
  ["a dropped connection ahead: an unlimited network reaches it in the prepare; the next prepare tries again", { kind: "http", duration: 5000, fail: { at: 4500, error: "dropped" } }, (p, log) => {
    log(code(p.player_prepare_async()));
    sim.advance(0);
    log(where(p));
    log(code(p.player_prepare()));
    sim.advance(0);
    log(where(p));
  }, [0, "buffering:0@0", "error_event:Server does not support seeking.@0", "1@refused", 0,
      "buffering:0@0", "error_event:Server does not support seeking.@0", "1@refused"]],
  ["a segment that answers 404, with its reason: reached after the latency, at the bandwidth", { kind: "hls", duration: 10000, segment: 1000, fail: { segment: 3, error: "http-404" }, reason: "Gone", latency: 100, bandwidth: 2 }, (p, log) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(1500);
    p.player_play();
    sim.advance(1000);
    log(where(p));
  }, ["buffering:0@0", "buffering:10@200", "buffering:30@400", "buffering:50@600", "buffering:70@800",
      "buffering:90@1000", "buffering:100@1100", "prepare_complete@1100", "error_event:Gone@1600", "1@refused"]],
  ["segments are 2000 ms unless described; a 404 says Not Found", { kind: "dash", duration: 10000, fail: { segment: 2, error: "http-404" }, bandwidth: 2 }, (p) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(5000);
  }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
      "buffering:100@1000", "prepare_complete@1000", "error_event:Not Found@2000"]],
  ["a seek reads anew from where it lands: a failure before it is not met", { kind: "dash", duration: 10000, fail: { segment: 3, error: "dropped" }, bandwidth: 2 }, (p, log) => {
    quiet(p);
    p.player_prepare_async();
    sim.advance(1000);
    p.player_seek_to({ param_seek_to: 7000 });
    p.player_play();
    sim.advance(4000);
    log(where(p));
    p.player_seek_to({ param_seek_to: 1000 });
    sim.advance(3000);
  }, ["buffering:0@0", "buffering:20@200", "buffering:40@400", "buffering:60@600", "buffering:80@800",
      "buffering:100@1000", "prepare_complete@1000", "buffering:0@1000", "buffering:20@1200", "buffering:40@1400",
      "buffering:60@1600", "buffering:80@1800", "buffering:100@2000", "seek_complete@2000", "play_complete@5000",
      "2@10000", "buffering:0@5000", "buffering:20@5200", "buffering:40@5400", "buffering:60@5600",
      "buffering:80@5800", "buffering:100@6000", "seek_complete@6000",
      "error_event:Server does not support seeking.@7500"]],

  // Held prepares.
  ["hold: only the buffering start until sim.release; then the period and prepare_complete", { kind: "http", duration: 1000, hold: true, latency: 200 }, (p, log) => {
    log(code(p.player_prepare_async()));
    sim.advance(5000);
    log(where(p));
    log(sim.release(URL));
    sim.advance(200);
    log(sim.release(URL));
    p.player_set_uri({ param_url: URL });
    p.player_prepare_async();
    sim.advance(1000);
    log(sim.release(URL));
    sim.advance(200);
  }, [0, "buffering:0@0", "1@refused", 1, "buffering:100@5200", "prepare_complete@5200", 0,
      "buffering:0@5200", 1, "buffering:100@6400", "prepare_complete@6400"]],
  ["a held medium: player_prepare and a preparing restore answer -1 at once and send nothing", { kind: "hls", duration: 1000, hold: true }, (p, log) => {
    log(code(p.player_prepare()) + " " + code(p.player_restore(restore(true))));
    sim.advance(1000);
    log(where(p));
    log(code(p.player_prepare_async()));
    log(sim.release(URL));
  }, ["-1 -1", "1@refused", 0, 1, "buffering:0@1000", "buffering:100@1000", "prepare_complete@1000"]],
  ["a held file: prepare_complete waits for the release", { duration: 1000, hold: true }, (p, log) => {
    p.player_prepare_async();
    sim.advance(1000);
    log(sim.release(URL));
  }, [1, "prepare_complete@1000"]],
  ["one release lets every player waiting on the medium go; none that stopped waiting", { kind: "http", duration: 1000, hold: true }, (p, log) => {
    const others = [0, 1, 2].map(() => player(() => {}, 0));
    for (const q of [p, ...others]) q.player_prepare_async();
    others[0].player_set_uri({ param_url: URL });
    others[1].player_close();
    kite.destroy(others[2]);
    log(sim.release(URL));
    sim.advance(0);
    log(others.slice(0, 2).map(where).join(" "));
    for (const q of others) kite.destroy(q);
  }, [1, "buffering:0@0", "buffering:100@0", "prepare_complete@0", "1@refused 0@refused"]],
];

runRows(ROWS, (media, log) => {
  sim.media(URL, media);
  return player(log, sim.now());
});

// sim.media's refusals of the network's fields: [what, description, the
// error's type and message].
const NETWORK_KINDS = "network kinds: 'http', 'hls' and 'dash'";
const CANNOT_SEEK = "seekable cannot be true on media that cannot seek (ranges: false, length: false or live)";
const LIVE_SHAPE = "live must be true, false, { window } or { ends }";
const FAIL_SHAPE = "fail must be an object { at, error } or { segment, error }";
const MEDIA = [
  ["a kind that is no string", { kind: 5 }, TypeError, "kind must be one of 'file', 'http', 'hls', 'dash'"],
  ["an unknown kind", { kind: "ftp" }, RangeError, "kind must be one of 'file', 'http', 'hls', 'dash'"],
  ["network: true on a file", { kind: "file", network: true }, RangeError, "network: true contradicts kind 'file'"],
  ["network: false on hls", { kind: "hls", network: false }, RangeError, "network: false contradicts kind 'hls'"],
  ["network: false on http", { kind: "http", network: false }, RangeError, "network: false contradicts kind 'http'"],
  ["network: false on dash", { kind: "dash", network: false }, RangeError, "network: false contradicts kind 'dash'"],
  ["ranges on hls", { kind: "hls", ranges: false }, RangeError, "ranges is for kind 'http'"],
  ["ranges as text", { kind: "http", ranges: "no" }, TypeError, "ranges must be true or false"],
  ["length on a file", { length: false, duration: 10 }, RangeError, "length is for kind 'http'"],
  ["no length and no duration", { kind: "http", length: false }, TypeError, "duration must be given when length is false"],
  ["seekable without byte ranges", { network: true, ranges: false, seekable: true }, RangeError, CANNOT_SEEK],
  ["seekable without a length", { kind: "http", length: false, duration: 10, seekable: true }, RangeError, CANNOT_SEEK],
  ["seekable and live", { kind: "hls", live: true, seekable: true }, RangeError, CANNOT_SEEK],
  ["live on dash", { kind: "dash", live: true }, RangeError, "live is for kind 'hls'"],
  ["live as text", { kind: "hls", live: "yes" }, TypeError, LIVE_SHAPE],
  ["live with a window and an end", { kind: "hls", duration: 1000, live: { window: 500, ends: 0 } }, TypeError, LIVE_SHAPE],
  ["live.ends without a duration", { kind: "hls", live: { ends: 0 } }, TypeError, "duration must be given with live.ends"],
  ["a live window of 0", { kind: "hls", live: { window: 0 } }, RangeError, "live.window must be an integer from 1 to 2147483647"],
  ["an empty live", { kind: "hls", live: {} }, TypeError, LIVE_SHAPE],
  ["live with a duration", { kind: "hls", live: true, duration: 1000 }, RangeError, "live media have no duration"],
  ["segment on http", { kind: "http", segment: 1000 }, RangeError, "segment is for kinds 'hls' and 'dash'"],
  ["a segment of 0 ms", { kind: "dash", segment: 0 }, RangeError, "segment must be an integer from 1 to 2147483647"],
  ["latency on a file", { latency: 10 }, RangeError, "latency is for " + NETWORK_KINDS],
  ["a negative latency", { kind: "http", latency: -1 }, RangeError, "latency must be an integer from 0 to 2147483647"],
  ["bandwidth on a file", { bandwidth: 1 }, RangeError, "bandwidth is for " + NETWORK_KINDS],
  ["a bandwidth of 0", { kind: "hls", bandwidth: 0 }, RangeError, "bandwidth must be a finite number above 0"],
  ["an infinite bandwidth", { kind: "hls", bandwidth: Infinity }, RangeError, "bandwidth must be a finite number above 0"],
  ["a bandwidth as text", { kind: "hls", bandwidth: "fast" }, TypeError, "bandwidth must be a finite number above 0"],
  ["fail on a file", { fail: { at: 0, error: "dropped" } }, RangeError, "fail is for " + NETWORK_KINDS],
  ["fail that is no object", { kind: "http", fail: 5 }, TypeError, FAIL_SHAPE],
  ["fail at a time and a segment", { kind: "hls", fail: { at: 0, segment: 1, error: "dropped" } }, TypeError, FAIL_SHAPE],
  ["fail at neither", { kind: "hls", fail: { error: "dropped" } }, TypeError, FAIL_SHAPE],
  ["fail at a segment of http", { kind: "http", fail: { segment: 1, error: "dropped" } }, RangeError, "fail.segment is for kinds 'hls' and 'dash'"],
  ["fail at the duration", { kind: "http", duration: 1000, fail: { at: 1000, error: "dropped" } }, RangeError, "fail.at must be before the duration"],
  ["fail at a segment past the duration", { kind: "hls", duration: 4000, fail: { segment: 2, error: "dropped" } }, RangeError, "fail.segment must start before the duration"],
  ["fail at a segment past 2^31 ms", { kind: "dash", segment: 2000000000, fail: { segment: 2, error: "dropped" } }, RangeError, "fail.segment must start within 2147483647 ms"],
  ["fail.at as text", { kind: "http", fail: { at: "1s", error: "dropped" } }, TypeError, "fail.at must be a Number or BigInt"],
  ["an unknown fail.error", { kind: "http", fail: { at: 0, error: "timeout" } }, RangeError, "fail.error must be one of 'dropped', 'http-404'"],
  ["fail.error left out", { kind: "http", fail: { at: 0 } }, TypeError, "fail.error must be one of 'dropped', 'http-404'"],
  ["hold as a number", { hold: 1 }, TypeError, "hold must be true or false"],
  ["a reason that is no string", { kind: "http", error: "http-404", reason: 404 }, TypeError, "reason must be a string"],
  ["a reason without a 404", { kind: "http", fail: { at: 0, error: "dropped" }, reason: "Gone" }, RangeError,
   "reason needs error 'http-404' or a fail with error 'http-404'"],
];
checkMediaRefusals(MEDIA);
checkRefusals([["sim.release's URL must be a string", () => sim.release(5), TypeError, "sim.release: the URL must be a string"]]);
check("a described medium that threw is not described", () => {
  sim.media("bad.media", { duration: 700 });
  assertThrows(() => sim.media("bad.media", { kind: "hls", bandwidth: -1 }));
  const log = [];
  const p = new Tether();
  p.onerror_event = (text) => log.push(text);
  p.player_create();
  p.player_set_uri({ param_url: "bad.media" });
  log.push(code(p.player_prepare()) + " " + data(p.player_get_duration()));
  sim.advance(0);
  kite.destroy(p);
  assertEqual(log, ["0 700"]);
});
done();
