// Preparing media with the GStreamer player: the states on the way, the
// duration, both kinds of prepare, and the errors of media that cannot play.
kite.load("../scripts/lib/assert.js");
kite.load("lib/gst.js");

test("synchronous prepare: states on the way, duration, nothing fired", async () => {
  const p = new RecordingPlayer();
  assertEqual(p.call("player_create"), 0, "create");
  assertEqual(p.state(), 5, "no media opened yet");
  assertEqual(p.call("player_prepare"), -1, "prepare without media");
  assertEqual(p.call("player_prepare_async"), -1, "prepare_async without media");
  assertEqual(p.call("player_set_uri", { param_url: "" }), -1, "empty media");
  assertEqual(p.call("player_set_uri", { param_url: TONE }), 0, "set_uri");
  assertEqual(p.state(), STATE.IDLE, "media set");
  for (const method of ["player_play", "player_pause", "player_stop"])
    assertEqual(p.call(method), -1, method + " before prepare");
  assertEqual(p.call("player_seek_to", { param_seek_to: 10 }), -1, "seek before prepare");
  assertEqual([p.position(), p.duration()], [undefined, undefined], "queries before prepare");

  const mark = p.mark();
  assertEqual(p.call("player_prepare"), 0, "prepare");
  assertEqual(p.state(), STATE.READY, "prepared");
  const duration = p.duration();
  assertTrue(Math.abs(duration - TONE_MS) <= 1, "duration within a frame of 3000 ms: " + duration);
  assertEqual(p.position(), 0, "position");
  assertEqual(p.call("player_prepare"), 0, "prepare again");
  await sleep(250);
  assertEqual(p.since(mark), [], "events of a synchronous prepare");
  kite.destroy(p.tether);
});

test("asynchronous prepare fires prepare_complete from the adapter's thread", async () => {
  const p = new RecordingPlayer().open(TONE, false);
  const mark = p.mark();
  assertEqual(p.call("player_prepare_async"), 0);
  await p.waitFor("prepare_complete", mark);
  assertEqual(p.state(), STATE.READY, "state once complete");
  assertTrue(Math.abs(p.duration() - TONE_MS) <= 1, "duration " + p.duration());
  // Already prepared: the completion comes again, at once.
  const again = p.mark();
  assertEqual(p.call("player_prepare_async"), 0);
  await p.waitFor("prepare_complete", again, 1000);
  assertEqual(p.since(mark, "error_event"), [], "errors");
  kite.destroy(p.tether);
});

test("a relative path is media too; close forgets the media", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  assertEqual(p.call("player_close"), 0, "close");
  assertEqual(p.state(), STATE.NONE, "closed");
  assertEqual(p.call("player_prepare"), -1, "prepare after close");
  assertEqual(p.duration(), undefined, "duration after close");
  assertEqual(p.call("player_close"), 0, "close twice");
  // The same file named from the working directory, and as a URI.
  const relative = TONE.split("/").map(() => "..").slice(2).join("/") + TONE;
  assertEqual(p.call("player_set_uri", { param_url: relative }), 0, "relative " + relative);
  assertEqual(p.call("player_prepare"), 0, "prepare relative path");
  assertEqual(p.call("player_set_uri", { param_url: "file://" + TONE }), 0, "file URI");
  assertEqual(p.state(), STATE.IDLE, "a new media is not prepared");
  assertEqual(p.call("player_prepare"), 0, "prepare URI");
  kite.destroy(p.tether);
});

// The failure reaches the script as an error event with the reason.
test("error event for a file that is no media, synchronous and asynchronous", async () => {
  const p = new RecordingPlayer().open(NOT_MEDIA, false);
  let mark = p.mark();
  assertEqual(p.call("player_prepare"), -1, "prepare");
  const error = await p.waitFor("error_event", mark);
  assertTrue(/type of stream/i.test(error.arg), "text: " + error.arg);
  assertEqual(p.state(), STATE.IDLE, "state after the failed prepare");

  mark = p.mark();
  p.call("player_prepare_async");
  const later = await p.waitFor("error_event", mark);
  assertEqual(later.arg, error.arg, "same text asynchronously");
  await sleep(100);
  assertEqual(p.args(mark, "prepare_complete"), [], "no completion");
  assertEqual(p.state(), STATE.IDLE, "state after the failed asynchronous prepare");

  // The player is still usable.
  assertEqual(p.call("player_set_uri", { param_url: TONE }), 0);
  assertEqual(p.call("player_prepare"), 0, "prepare real media afterwards");
  kite.destroy(p.tether);
});

runTests();
