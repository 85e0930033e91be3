// Runs the scenarios of scenarios.js on the player kite was started with:
// the model (--adapter=model --clock=virtual, the media described here) or
// GStreamer (--adapter=gst, the media made by run_gst.sh). A step whose
// answer differs fails its scenario, named with the step; the other
// scenarios still run. Arguments: TONE TEXT NO_DECODER HTTP_BASE
// PLAIN_BASE, then the URLs of the network media below from HLS to
// NOT_FOUND_REASON, in that order.
kite.load("scenarios.js");

if (kite.args.length !== 17) throw new Error("parity.test.js takes 17 arguments, got " + kite.args.length);
const [TONE, TEXT, NO_DECODER, HTTP_BASE, PLAIN_BASE, HLS, DASH, WEBM_RANGES, WEBM_PLAIN, WEBM_NOLENGTH,
       HLS_LIVE, HLS_EVENT, HLS_SLOW, HLS_DROP, WEBM_DROP, HLS_SEGMENT_404, NOT_FOUND_REASON] = kite.args;
const MEDIA = {
  TONE, TEXT, NO_DECODER,
  AMR: NO_DECODER,  // the name scenarios.js knows it by
  MISSING: TONE.replace(/[^/]*$/, "missing.wav"),
  PLAIN: PLAIN_BASE + "/tone3s.wav",
  NOT_FOUND: HTTP_BASE + "/missing.wav",
  REFUSED: "http://127.0.0.1:1/tone3s.wav",
  // HLS and DASH VODs of 12 s (2 s segments) and a WebM of 20 s, over byte
  // ranges unless named otherwise; HLS_LIVE a sliding window of 3 segments
  // over the HLS VOD, looping; HLS_EVENT a playlist growing from 3 segments
  // to its end; HLS_SLOW at 20000 bytes a second (below the media's rate);
  // HLS_DROP its every segment cut off after 40000 bytes (a range request
  // goes on where it stopped); WEBM_DROP the WebM without ranges, cut off
  // after 2000 bytes; HLS_SEGMENT_404 its first segment missing (faults
  // further in may come before or after GStreamer's prepare completes);
  // NOT_FOUND_REASON a 404 "No Such Film".
  HLS, DASH, WEBM_RANGES, WEBM_PLAIN, WEBM_NOLENGTH,
  HLS_LIVE, HLS_EVENT, HLS_SLOW, HLS_DROP, WEBM_DROP, HLS_SEGMENT_404, NOT_FOUND_REASON,
  // The tone from a server that sends no length: it cannot seek, so play
  // after its end opens it again.
  TONE_NOLENGTH: HTTP_BASE.replace(/\/ranges$/, "") + "/nolength/tone3s.wav",
  HLS_NOT_FOUND: HLS.replace(/[^/]*$/, "missing.m3u8"),
};
const EVENTS = ["buffering", "prepare_complete", "play_complete", "seek_complete", "current_time",
                "error_event", "asm_pause", "asm_resume", "sound_analysis"];
const onModel = typeof sim !== "undefined" && "media" in sim;

if (onModel) {
  const tone = { duration: 3000 };
  sim.media(MEDIA.TONE, tone);
  sim.media(MEDIA.TEXT, { error: "not-media" });
  sim.media(MEDIA.AMR, { error: "unsupported" });
  sim.media(MEDIA.PLAIN, { ...tone, network: true, seekable: false });
  sim.media(MEDIA.NOT_FOUND, { error: "http-404" });
  sim.media(MEDIA.REFUSED, { error: "refused" });
  sim.media(MEDIA.HLS, { kind: "hls", duration: 12000 });
  sim.media(MEDIA.DASH, { kind: "dash", duration: 12000 });
  sim.media(MEDIA.WEBM_RANGES, { kind: "http", duration: 20003 });
  sim.media(MEDIA.WEBM_PLAIN, { kind: "http", ranges: false, duration: 20003 });
  sim.media(MEDIA.WEBM_NOLENGTH, { kind: "http", length: false, duration: 20003 });
  sim.media(MEDIA.HLS_LIVE, { kind: "hls", live: true });
  // GStreamer reads the tone's length from its header.
  sim.media(MEDIA.TONE_NOLENGTH, { kind: "http", ranges: false, duration: 3000 });
  sim.media(MEDIA.NOT_FOUND_REASON, { error: "http-404", reason: "No Such Film" });
  // 20000 bytes a second against the segments' 31000.
  sim.media(MEDIA.HLS_SLOW, { kind: "hls", duration: 12000, bandwidth: 0.65 });
  // Over byte ranges the player carries on where the connection dropped.
  sim.media(MEDIA.HLS_DROP, { kind: "hls", duration: 12000 });
  // The server lists the end 6 s after the playlist's first request.
  sim.media(MEDIA.HLS_EVENT, { kind: "hls", duration: 12000, live: { ends: 6000 } });
  // Faults the prepare's reading meets: the connection drops in the WebM's
  // header (byte 2000 of 249990), and the first segment answers 404.
  sim.media(MEDIA.WEBM_DROP, { kind: "http", ranges: false, duration: 20003, fail: { at: 100, error: "dropped" } });
  sim.media(MEDIA.HLS_NOT_FOUND, { kind: "hls", error: "http-404" });
  sim.media(MEDIA.HLS_SEGMENT_404, { kind: "hls", duration: 12000, fail: { segment: 0, error: "http-404" } });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const delivered = () => new Promise((resolve) => kite.afterIdle(resolve));
// Time passes on the model's clock, or on the wall clock for GStreamer.
const pass = onModel ? async (ms) => sim.advance(ms) : async (ms) => { await sleep(ms); await delivered(); };
const flush = onModel ? async () => sim.advance(0) : async () => { await sleep(50); await delivered(); };

const kindOf = (event) => event.split(":")[0];
const show = (value) => JSON.stringify(value);
const QUERIES = { state: "player_get_player_state", duration: "player_get_duration", position: "player_get_current_position" };

// The events as TIMING says they are compared.
function compared(fresh) {
  const sequence = [];
  for (const event of fresh) {
    const kind = kindOf(event);
    if (kind === "current_time" || kind === "sound_analysis" || kind === "buffering") continue;
    if (kind === "seek_complete" && sequence.at(-1) === "seek_complete") continue;
    sequence.push(event);
  }
  return sequence;
}

function checkEvents(step, fresh, fail) {
  const sequence = compared(fresh);
  if (show(sequence) !== show(step.events)) fail(step.events, sequence);
  const count = (kind) => fresh.filter((e) => kindOf(e) === kind);
  for (const [key, kind] of [["ticks", "current_time"], ["bands", "sound_analysis"]]) {
    if (key in step && (count(kind).length > 0) !== step[key]) fail(key + " " + step[key], count(kind).length + " " + kind);
  }
  if ("buffering" in step) {
    const texts = count("buffering").map((e) => e.split(":")[1]);
    if (step.buffering === false ? texts.length > 0 : texts.at(-1) !== step.buffering)
      fail("buffering ending with " + step.buffering, texts);
  }
}

// A range may be [name, low, high], around a kept value; with since, its top
// grows by the time since that call, as a loaded machine lets the player run
// on between the steps.
function checkQuery(player, step, key, kept, calledAt, fail) {
  const result = player[QUERIES[key]]();
  const expected = step[key];
  if (expected === "refused") {
    if (result.return_ecode !== -1) fail("refused", result);
    return;
  }
  if (result.return_ecode !== 0) fail(expected, result);
  const value = result.return_data;
  let wanted = typeof expected === "string" ? kept[expected] : expected;
  if (Array.isArray(wanted) && typeof wanted[0] === "string") wanted = wanted.slice(1).map((d) => kept[expected[0]] + d);
  if (step.since && !(step.since in calledAt)) fail("a call to " + step.since + " before", "none");
  if (step.since) wanted = [wanted[0], wanted[1] + Math.ceil(performance.now() - calledAt[step.since])];
  const fits = Array.isArray(wanted) ? value >= wanted[0] && value <= wanted[1] : value === wanted;
  if (!fits) fail(wanted, value);
  if (step.keep) kept[step.keep] = value;
}

// Whether an event of the kind came after the last events step, waiting for
// it in slices up to the bound.
async function arrived(got, seen, kind, within) {
  for (let waited = 0; !got.slice(seen).some((e) => kindOf(e) === kind); waited += 10) {
    if (waited >= within) return false;
    await pass(10);
  }
  return true;
}

async function run(scenario) {
  const player = new Tether();
  const got = [];
  for (const name of EVENTS) player["on" + name] = (text) => got.push(text === undefined ? name : name + ":" + text);
  let seen = 0;
  const kept = {};
  const calledAt = {};
  try {
    for (const [index, step] of scenario.steps.entries()) {
      const fail = (expected, actual) => {
        throw new Error(scenario.name + ", step " + (index + 1) + " " + show(step, (k, v) => (typeof v === "function" ? "fn" : v)) +
                        ": expected " + show(expected) + ", got " + show(actual));
      };
      const query = Object.keys(QUERIES).find((key) => key in step);
      if ("call" in step) {
        const args = step.args || (step.arg === undefined ? [] : [step.arg]);
        calledAt[step.call] = performance.now();
        const answer = player[step.call](...args).return_ecode;
        if (answer !== step.answer) fail(step.answer, answer);
      } else if (query) {
        checkQuery(player, step, query, kept, calledAt, fail);
      } else if ("wait" in step) {
        await pass(step.wait);
      } else if ("until" in step) {
        if (!(await arrived(got, seen, step.until, step.within))) fail(step.until + " within " + step.within + " ms", got.slice(seen));
      } else if ("events" in step) {
        await flush();
        // On the wall clock a loaded machine can hold playback back: ticks
        // that a row expects may come late. Virtual time is never late.
        if (!onModel && step.ticks === true) await arrived(got, seen, "current_time", 5000);
        const fresh = got.slice(seen);
        seen = got.length;
        checkEvents(step, fresh, fail);
      } else {
        fail("a known kind of step", step);
      }
    }
  } finally {
    kite.destroy(player);
  }
}

(async () => {
  const adapter = onModel ? "the model" : "GStreamer";
  let failed = 0;
  const table = scenarios(MEDIA);
  for (const scenario of table) {
    try {
      await run(scenario);
    } catch (e) {
      failed++;
      console.error("FAIL on " + adapter + ": " + (e instanceof Error ? e.message : String(e)));
    }
  }
  console.log(adapter + ": " + (table.length - failed) + " passed, " + failed + " failed");
  kite.quit(failed > 0 ? 1 : 0);
})();
