// Suspend and restore on the GStreamer player: the resources go, the media,
// position and state are remembered and come back.
kite.load("../scripts/lib/assert.js");
kite.load("lib/gst.js");

// A negative time restores at the remembered position.
const restore = (p, url, time, prepare) =>
  p.call("player_restore", { param_restore_url: url, param_restore_resume_time: time, param_restore_prepare: prepare });

test("suspended while paused or playing, restore brings back the position and the state", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  p.call("player_play");
  await sleep(700);
  p.call("player_pause");
  const held = p.position();
  assertTrue(held >= 500, "position before suspend " + held);
  assertEqual(p.call("player_suspend", {}), 0, "suspend");
  assertEqual(p.state(), STATE.IDLE, "suspended");
  assertEqual([p.position(), p.duration()], [undefined, undefined], "queries while suspended");
  assertEqual(p.call("player_suspend", {}), 0, "suspend again keeps what was remembered");

  assertEqual(restore(p, "", -1, true), 0, "restore");
  assertEqual(p.state(), STATE.PAUSED, "paused again");
  assertEqual(p.position(), held, "at the remembered position");
  assertTrue(Math.abs(p.duration() - TONE_MS) <= 1, "duration " + p.duration());
  let mark = p.mark();
  p.call("player_resume");
  const first = await p.waitFor("current_time", mark, 1000);
  // Wide margins: a loaded machine delays the first report, not its start.
  assertTrue(Number(first.arg) >= held && Number(first.arg) < held + 1000, "resumed at " + first.arg);

  const before = p.position();
  assertEqual(p.call("player_suspend", {}), 0, "suspend while playing");
  mark = p.mark();
  await sleep(250);
  assertEqual(p.times(mark), [], "no current time while suspended");
  assertEqual(restore(p, "", -1, true), 0, "restore");
  assertEqual(p.state(), STATE.PLAYING, "playing again");
  const again = await p.waitFor("current_time", mark, 1000);
  assertTrue(Number(again.arg) >= before && Number(again.arg) < before + 1000, "went on from " + before + ": " + again.arg);
  kite.destroy(p.tether);
});

test("restore at a given time, prepared later, synchronously or not", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  p.call("player_suspend", {});
  assertEqual(restore(p, "", 2000, false), 0, "restore without prepare");
  assertEqual(p.state(), STATE.IDLE, "not prepared");
  assertEqual(p.call("player_prepare"), 0, "prepare");
  assertEqual(p.position(), 2000, "prepared at the restore time");

  assertEqual(restore(p, TONE, 1250, false), 0, "restore other media");
  const mark = p.mark();
  assertEqual(p.call("player_prepare_async"), 0, "prepare_async");
  await p.waitFor("prepare_complete", mark);
  assertEqual(p.state(), STATE.READY, "ready");
  assertEqual(p.position(), 1250, "prepared asynchronously at the restore time");
  assertEqual(restore(p, "", 0, true), 0, "restore at the start");
  assertEqual(p.position(), 0, "at the start");
  kite.destroy(p.tether);
});

test("restore refuses when there is nothing to restore or the media fails", async () => {
  const p = new RecordingPlayer();
  p.call("player_create");
  assertEqual(p.call("player_suspend", {}), -1, "suspend without media");
  assertEqual(restore(p, "", -1, true), -1, "restore without media");
  const mark = p.mark();
  assertEqual(restore(p, NOT_MEDIA, 0, true), -1, "restore media that fails");
  const error = await p.waitFor("error_event", mark);
  assertTrue(/type of stream/i.test(error.arg), "error text " + error.arg);
  assertEqual(p.duration(), undefined, "not prepared after the failed restore");
  assertEqual(restore(p, TONE, 900, true), 0, "the player is still usable");
  assertEqual(p.position(), 900, "restored at 900");
  kite.destroy(p.tether);
});

runTests();
