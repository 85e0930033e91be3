// The GStreamer player through kite --adapter=gst, as an app's script sees
// it: prepare and its refusals and errors, playback with its events and
// states, party mode, suspend and restore. The media come as kite.args: a
// 3 s tone and a file that is no media.
kite.load("../../support/lib/assert.js");

const [TONE, NOT_MEDIA] = kite.args;
const TONE_MS = 3000;
const STATE = { NONE: 0, IDLE: 1, READY: 2, PLAYING: 3, PAUSED: 4 };
const EVENTS = ["buffering", "prepare_complete", "play_complete", "seek_complete", "current_time",
                "error_event", "asm_pause", "asm_resume", "sound_analysis"];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const isRising = (values) => values.every((v, i) => i === 0 || v > values[i - 1]);
const live = [];

// A Tether object whose events are kept in order as { name, arg, at }.
class RecordingPlayer {
  constructor() {
    this.tether = new Tether();
    this.events = [];
    for (const name of EVENTS) this.tether["on" + name] = (arg) => this.events.push({ name, arg, at: Date.now() });
    live.push(this);
  }

  // The return_ecode of a call; the return_data of a query, undefined when refused.
  call(method, ...args) { return this.tether[method](...args).return_ecode; }
  query(method) {
    const result = this.tether[method]();
    return result.return_ecode === 0 ? result.return_data : undefined;
  }
  state() { return this.query("player_get_player_state"); }
  position() { return this.query("player_get_current_position"); }
  duration() { return this.query("player_get_duration"); }

  // Created with the media set and prepared.
  open(media) {
    assertEqual([this.call("player_create"), this.call("player_set_uri", { param_url: media }),
                 this.call("player_prepare")], [0, 0, 0], "open " + media);
    return this;
  }

  // Marks the present: since(), times() and waitFor() look only at later events.
  mark() { return this.events.length; }
  since(mark, name) { return this.events.slice(mark).filter((e) => name === undefined || e.name === name); }
  times(mark) { return this.since(mark, "current_time").map((e) => Number(e.arg)); }
  async waitFor(name, mark, timeoutMs = 3000) {
    for (const end = Date.now() + timeoutMs; Date.now() < end; await sleep(10))
      if (this.since(mark, name).length > 0) return this.since(mark, name)[0];
    throw new Error("no " + name + " event within " + timeoutMs + " ms");
  }
}

// Each test runs to its end, its players destroyed, before the next starts.
const tests = [];
const test = (name, fn) => tests.push({ name, fn });

const REFUSED = {
  "before create": [["player_set_uri", { param_url: TONE }], ["player_prepare"], ["player_close"], ["player_suspend", {}]],
  "without media": [["player_prepare"], ["player_prepare_async"], ["player_suspend", {}],
                    ["player_restore", { param_restore_url: "", param_restore_resume_time: -1, param_restore_prepare: true }],
                    ["player_set_uri", { param_url: "" }], ["player_set_uri", { param_url: "tone\0.wav" }]],
  "before prepare": [["player_play"], ["player_pause"], ["player_stop"], ["player_seek_to", { param_seek_to: 10 }],
                     ["player_get_duration"], ["player_get_current_position"]],
};
const refuses = (p, stage) =>
  REFUSED[stage].forEach(([method, arg]) => assertEqual(p.call(method, arg), -1, method + " " + stage));

test("prepare, synchronously or not: states, duration, position, and a completion event only when asynchronous", async () => {
  const p = new RecordingPlayer();
  refuses(p, "before create");
  assertEqual(p.call("player_create"), 0, "create");
  refuses(p, "without media");
  // The tone named from the working directory.
  const relative = TONE.split("/").map(() => "..").slice(2).join("/") + TONE;
  assertEqual([p.call("player_set_uri", { param_url: relative }), p.state()], [0, STATE.IDLE], "relative path " + relative);
  refuses(p, "before prepare");

  const mark = p.mark();
  assertEqual([p.call("player_prepare"), p.call("player_prepare")], [0, 0], "prepare, twice");
  assertEqual([p.state(), p.position()], [STATE.READY, 0], "state and position once prepared");
  assertTrue(Math.abs(p.duration() - TONE_MS) <= 1, "duration within a frame of 3000 ms: " + p.duration());
  await sleep(250);
  assertEqual(p.since(mark), [], "events of a synchronous prepare");

  assertEqual([p.call("player_set_uri", { param_url: "file://" + TONE }), p.state()], [0, STATE.IDLE], "file URI");
  // Once prepared, the completion comes again at once.
  for (const timeoutMs of [3000, 500]) {
    const before = p.mark();
    assertEqual(p.call("player_prepare_async"), 0, "prepare_async");
    await p.waitFor("prepare_complete", before, timeoutMs);
    assertEqual(p.state(), STATE.READY, "state once complete");
  }
  assertEqual([p.call("player_close"), p.call("player_close"), p.state()], [0, 0, STATE.NONE], "close, twice");
  assertEqual(p.call("player_prepare"), -1, "prepare after close");
  assertEqual(p.since(mark, "error_event"), [], "errors");
});

// A missing file fails as the pipeline starts, a file that is no media only
// once it has been read: an asynchronous prepare accepts the latter.
test("media that cannot play: an error event with the reason, no completion, the player still usable", async () => {
  const p = new RecordingPlayer();
  assertEqual(p.call("player_create"), 0, "create");
  for (const [media, reason, asyncCode] of [[NOT_MEDIA, /type of stream/i, 0], ["/no/such/dir/tone.wav", /not found/i, -1]]) {
    assertEqual(p.call("player_set_uri", { param_url: media }), 0, "set_uri " + media);
    for (const [method, code] of [["player_prepare", -1], ["player_prepare_async", asyncCode]]) {
      const what = method + " of " + media;
      const mark = p.mark();
      assertEqual(p.call(method), code, what);
      const error = await p.waitFor("error_event", mark);
      assertTrue(reason.test(error.arg), what + ": " + error.arg);
      await sleep(100);
      assertEqual([p.since(mark, "prepare_complete"), p.state()], [[], STATE.IDLE], "after " + what);
    }
  }
  assertEqual([p.call("player_set_uri", { param_url: TONE }), p.call("player_prepare")], [0, 0], "real media afterwards");
});

test("play: rising times about every 100 ms; pause holds them and the position; resume goes on", async () => {
  const p = new RecordingPlayer().open(TONE);
  let mark = p.mark();
  assertEqual([p.call("player_play"), p.call("player_play"), p.state()], [0, 0, STATE.PLAYING], "play, twice");
  await sleep(650);
  const times = p.times(mark);
  assertTrue(times.length >= 4 && times.length <= 8 && isRising(times), "times in 650 ms: " + times);
  assertTrue(times.at(-1) >= 400 && p.position() >= times.at(-1) && p.position() <= 800, "position " + p.position());

  assertEqual([p.call("player_pause"), p.call("player_pause"), p.state()], [0, 0, STATE.PAUSED], "pause, twice");
  const held = p.position();
  await sleep(50);
  mark = p.mark();
  await sleep(300);
  assertEqual([p.times(mark), p.position()], [[], held], "times and position while paused");
  assertEqual([p.call("player_resume"), p.state()], [0, STATE.PLAYING], "resume");
  const first = Number((await p.waitFor("current_time", mark, 1000)).arg);
  assertTrue(first >= held && first < held + 200, "resumed at " + first + " from " + held);
});

test("seek and skip: the position is the target at once, seek_complete once landed, playing or not", async () => {
  const p = new RecordingPlayer().open(TONE);
  for (const target of [-1, TONE_MS + 1])
    assertEqual(p.call("player_seek_to", { param_seek_to: target }), -1, "seek to " + target);
  p.call("player_play");
  let mark = p.mark();
  assertEqual(p.call("player_seek_to", { param_seek_to: 2000 }), 0, "seek while playing");
  await p.waitFor("seek_complete", mark, 2000);
  mark = p.mark();
  await p.waitFor("current_time", mark, 1000);
  assertTrue(p.times(mark).every((t) => t >= 2000) && p.state() === STATE.PLAYING, "after the seek " + p.times(mark));

  p.call("player_pause");
  // [method, amount, position, landed before the next]: skips go from the
  // position, within the media, and add up before they land.
  const moves = [["player_seek_to", 500, 500, true], ["player_skip", 1200, 1700, true], ["player_skip", -500, 1200, true],
                 ["player_skip", -5000, 0, true], ["player_skip", TONE_MS + 400, TONE_MS, true],
                 ["player_skip", -1000, TONE_MS - 1000, false], ["player_skip", -1000, TONE_MS - 2000, true]];
  for (const [method, amount, expected, land] of moves) {
    const what = method + " " + amount + " to " + expected;
    mark = p.mark();
    assertEqual([p.call(method, { param_seek_to: amount, param_skip: amount }), p.position()], [0, expected], what);
    if (!land) continue;
    await p.waitFor("seek_complete", mark, 2000);
    await sleep(100);
    assertEqual([p.position(), p.state()], [expected, STATE.PAUSED], "landed after " + what);
  }
});

test("the end of the stream and stop: ready again, and play starts over", async () => {
  const p = new RecordingPlayer().open(TONE);
  let mark = p.mark();
  p.call("player_seek_to", { param_seek_to: 2600 });
  await p.waitFor("seek_complete", mark, 2000);
  mark = p.mark();
  p.call("player_play");
  const complete = await p.waitFor("play_complete", mark, 2000);
  const times = p.times(mark);
  assertTrue(times.length >= 2 && isRising(times) && times.at(-1) <= TONE_MS, "times " + times);
  assertTrue(complete.at - p.since(mark)[0].at >= 250, "the last 400 ms took real time");
  assertEqual(p.state(), STATE.READY, "state after the end");
  mark = p.mark();
  await sleep(250);
  assertEqual(p.since(mark), [], "events after the end");
  for (const stop of [false, true]) {
    if (stop) {
      await sleep(300);
      assertEqual([p.call("player_stop"), p.call("player_stop"), p.call("player_pause")], [0, 0, -1], "stop, twice, pause");
      await sleep(100);
      assertEqual([p.state(), p.position()], [STATE.READY, 0], "stopped and rewound");
    }
    mark = p.mark();
    assertEqual(p.call("player_play"), 0, "play again");
    const first = Number((await p.waitFor("current_time", mark, 1000)).arg);
    assertTrue(first < 300, (stop ? "after stop" : "after the end") + " from the start: " + first);
  }
});

test("party mode: bands of the tone every 100 ms while on and playing, none paused or once off", async () => {
  const p = new RecordingPlayer().open(TONE);
  assertEqual(p.call("player_register_sound_analysis_listener", () => {}, {}), 0, "register");
  assertEqual(p.call("player_set_party_tv_mode", { param_party_mode: true }), 0, "party mode on");
  let mark = p.mark();
  p.call("player_play");
  await sleep(700);
  const texts = p.since(mark, "sound_analysis").map((e) => e.arg);
  assertTrue(texts.length >= 5 && texts.length <= 8, "sets in 700 ms: " + texts.length);
  for (const text of texts) {
    // 16 integers from 0 to 100; a 440 Hz tone is loudest in the lowest band.
    const bands = text.split("|");
    assertTrue(bands.length === 16 && bands.every((b) => /^(0|[1-9][0-9]?|100)$/.test(b)), "bands " + text);
    assertTrue(bands[0] >= 60 && bands[0] === String(Math.max(...bands)) && bands[15] <= 20, "shape " + text);
  }
  p.call("player_pause");
  await new Promise((resolve) => kite.afterIdle(resolve));
  mark = p.mark();
  await sleep(300);
  assertEqual(p.since(mark, "sound_analysis"), [], "bands while paused");
  p.call("player_resume");
  assertEqual(p.call("player_set_party_tv_mode", { param_party_mode: false }), 0, "party mode off");
  await new Promise((resolve) => kite.afterIdle(resolve));
  mark = p.mark();
  await sleep(400);
  assertEqual([p.since(mark, "sound_analysis"), p.times(mark).length >= 2], [[], true], "bands once off, playing");
});

// A negative time restores at the remembered position.
const restore = (p, url, time, prepare) =>
  p.call("player_restore", { param_restore_url: url, param_restore_resume_time: time, param_restore_prepare: prepare });

test("suspend and restore: back to the position and state it had, or a given time, prepared then or later", async () => {
  const p = new RecordingPlayer().open(TONE);
  p.call("player_play");
  await sleep(700);
  p.call("player_pause");
  const held = p.position();
  assertTrue(held >= 500, "position before suspend " + held);
  assertEqual(p.call("player_suspend", {}), 0, "suspend");
  assertEqual([p.state(), p.position(), p.duration()], [STATE.IDLE, undefined, undefined], "suspended");
  assertEqual(p.call("player_suspend", {}), 0, "suspend again keeps what was remembered");
  assertEqual([restore(p, "", -1, true), p.state(), p.position()], [0, STATE.PAUSED, held], "restored paused");
  // A time reported just before the pause may still wait on the main loop.
  await new Promise((resolve) => kite.afterIdle(resolve));
  let mark = p.mark();
  p.call("player_resume");
  const first = Number((await p.waitFor("current_time", mark, 1000)).arg);
  // Wide margins: a loaded machine delays the first report, not its start.
  assertTrue(first >= held && first < held + 1000, "resumed at " + first);

  const before = p.position();
  assertEqual(p.call("player_suspend", {}), 0, "suspend while playing");
  mark = p.mark();
  await sleep(250);
  assertEqual(p.times(mark), [], "no current time while suspended");
  assertEqual([restore(p, "", -1, true), p.state()], [0, STATE.PLAYING], "restored playing");
  const again = Number((await p.waitFor("current_time", mark, 1000)).arg);
  assertTrue(again >= before && again < before + 1000, "went on from " + before + ": " + again);

  p.call("player_suspend", {});
  assertEqual([restore(p, "", 2000, false), p.state()], [0, STATE.IDLE], "restore without prepare");
  assertEqual([p.call("player_prepare"), p.position()], [0, 2000], "prepared at the restore time");
  assertEqual(restore(p, TONE, 1250, false), 0, "restore named media");
  mark = p.mark();
  assertEqual(p.call("player_prepare_async"), 0, "prepare_async");
  await p.waitFor("prepare_complete", mark);
  assertEqual([p.state(), p.position()], [STATE.READY, 1250], "prepared asynchronously at the restore time");
  assertEqual([restore(p, "", 0, true), p.position()], [0, 0], "restore at the start");
  assertEqual([restore(p, NOT_MEDIA, 0, true), p.duration()], [-1, undefined], "restore of media that fails");
});

(async () => {
  for (const { name, fn } of tests) {
    await fn().catch((e) => check(name, () => { throw e; }));
    live.splice(0).forEach((p) => kite.destroy(p.tether));
  }
  done();
})();
