// The GStreamer player through kite --adapter=gst, as an app's script sees
// it, in what the scenario table (tests/cinecast/parity) leaves to timing
// and to real media: the refusals of each stage, the rate of the times,
// the end in real time, the bands of party mode. The media come as
// kite.args: a 3 s tone.
kite.load("../../support/lib/assert.js");

const [TONE] = kite.args;
const TONE_MS = 3000;
const STATE = { IDLE: 1, READY: 2, PLAYING: 3 };
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

test("prepare: refused at each stage before, then of a relative path and a file URI", async () => {
  const p = new RecordingPlayer();
  refuses(p, "before create");
  assertEqual(p.call("player_create"), 0, "create");
  refuses(p, "without media");
  // The tone named from the working directory.
  const relative = TONE.split("/").map(() => "..").slice(2).join("/") + TONE;
  assertEqual([p.call("player_set_uri", { param_url: relative }), p.state()], [0, STATE.IDLE], "relative path " + relative);
  refuses(p, "before prepare");

  const mark = p.mark();
  assertEqual([p.call("player_prepare"), p.call("player_prepare"), p.state()], [0, 0, STATE.READY], "prepare, twice");
  assertEqual([p.call("player_set_uri", { param_url: "file://" + TONE }), p.state()], [0, STATE.IDLE], "file URI");
  assertEqual(p.call("player_prepare_async"), 0, "prepare_async");
  await p.waitFor("prepare_complete", mark);
  assertEqual([p.state(), p.since(mark, "error_event")], [STATE.READY, []], "state once complete, and errors");
});

test("play: rising times about every 100 ms, the position with them; resumed where paused", async () => {
  const p = new RecordingPlayer().open(TONE);
  let mark = p.mark();
  assertEqual([p.call("player_play"), p.call("player_play"), p.state()], [0, 0, STATE.PLAYING], "play, twice");
  await sleep(650);
  const times = p.times(mark);
  assertTrue(times.length >= 4 && times.length <= 8 && isRising(times), "times in 650 ms: " + times);
  assertTrue(times.at(-1) >= 400 && p.position() >= times.at(-1) && p.position() <= 800, "position " + p.position());
  // A pause holds the media themselves: playback resumes where it stopped.
  p.call("player_pause");
  const held = p.position();
  await sleep(350);
  mark = p.mark();
  p.call("player_resume");
  const first = Number((await p.waitFor("current_time", mark, 1000)).arg);
  assertTrue(first >= held && first < held + 200, "resumed at " + first + " from " + held);
});

test("the end of the stream: the last times in real time, ready again, no events after", async () => {
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
});

test("party mode: bands of the tone every 100 ms, loudest in the lowest band", async () => {
  const p = new RecordingPlayer().open(TONE);
  assertEqual(p.call("player_register_sound_analysis_listener", () => {}, {}), 0, "register");
  assertEqual(p.call("player_set_party_tv_mode", { param_party_mode: true }), 0, "party mode on");
  const mark = p.mark();
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
});

(async () => {
  for (const { name, fn } of tests) {
    await fn().catch((e) => check(name, () => { throw e; }));
    live.splice(0).forEach((p) => kite.destroy(p.tether));
  }
  done();
})();
