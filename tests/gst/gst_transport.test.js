// Playing with the GStreamer player: the current time, pause and resume,
// seek, skip, stop and the end of the stream, each with the states it
// reports.
kite.load("../scripts/lib/assert.js");
kite.load("lib/gst.js");

test("play: rising times about every 100 ms; pause holds them and the position; resume goes on", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  let mark = p.mark();
  assertEqual(p.call("player_play"), 0, "play");
  assertEqual(p.state(), STATE.PLAYING, "playing");
  assertEqual(p.call("player_play"), 0, "play while playing");
  await sleep(650);
  const times = p.times(mark);
  assertTrue(times.length >= 4 && times.length <= 8, "events in 650 ms: " + times);
  assertTrue(isRising(times), "rising: " + times);
  assertTrue(times[times.length - 1] >= 400 && times[times.length - 1] <= 750, "last time " + times);
  const position = p.position();
  assertTrue(position >= times[times.length - 1] && position <= 800, "position " + position);

  assertEqual(p.call("player_pause"), 0, "pause");
  assertEqual(p.state(), STATE.PAUSED, "paused");
  assertEqual(p.call("player_pause"), 0, "pause while paused");
  const held = p.position();
  await sleep(50);
  mark = p.mark();
  await sleep(300);
  assertEqual(p.times(mark), [], "no current time while paused");
  assertEqual(p.position(), held, "position held");
  assertEqual(p.call("player_resume"), 0, "resume");
  assertEqual(p.state(), STATE.PLAYING, "playing again");
  const first = await p.waitFor("current_time", mark, 1000);
  assertTrue(Number(first.arg) >= held && Number(first.arg) < held + 200, "resumed at " + first.arg + " from " + held);
  kite.destroy(p.tether);
});

test("seek: completion, then times past the target; bad targets refused", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  assertEqual(p.call("player_seek_to", { param_seek_to: -1 }), -1, "before the start");
  assertEqual(p.call("player_seek_to", { param_seek_to: TONE_MS + 1 }), -1, "past the end");
  p.call("player_play");
  await sleep(150);
  const mark = p.mark();
  assertEqual(p.call("player_seek_to", { param_seek_to: 2000 }), 0, "seek");
  await p.waitFor("seek_complete", mark, 2000);
  assertEqual(p.state(), STATE.PLAYING, "still playing");
  const after = p.mark();
  await p.waitFor("current_time", after, 1000);
  assertTrue(p.times(after).every((t) => t >= 2000), "times after the seek " + p.times(after));
  assertTrue(p.position() >= 2000, "position " + p.position());

  // A seek while paused lands there and stays.
  p.call("player_pause");
  const paused = p.mark();
  assertEqual(p.call("player_seek_to", { param_seek_to: 500 }), 0, "seek while paused");
  await p.waitFor("seek_complete", paused, 2000);
  assertEqual(p.position(), 500, "position after a paused seek");
  assertEqual(p.state(), STATE.PAUSED, "still paused");
  kite.destroy(p.tether);
});

test("skip: relative to the position, clamped to the media", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  const skip = async (amount, expected) => {
    const mark = p.mark();
    assertEqual(p.call("player_skip", { param_skip: amount }), 0, "skip " + amount);
    assertEqual(p.position(), expected, "position at once after " + amount);
    await p.waitFor("seek_complete", mark, 2000);
    assertEqual(p.position(), expected, "position landed after " + amount);
  };
  await skip(1200, 1200);
  await skip(-500, 700);
  await skip(-5000, 0);
  await skip(TONE_MS + 400, TONE_MS);
  // Skips in a row add up before they land.
  const mark = p.mark();
  p.call("player_skip", { param_skip: -1000 });
  p.call("player_skip", { param_skip: -1000 });
  assertEqual(p.position(), 1000, "two skips back");
  await p.waitFor("seek_complete", mark, 2000);
  await sleep(100);
  assertEqual(p.position(), 1000, "landed after two skips");
  kite.destroy(p.tether);
});

test("the end of the stream and stop: prepared again, play starts over", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  let mark = p.mark();
  p.call("player_seek_to", { param_seek_to: 2600 });
  await p.waitFor("seek_complete", mark, 2000);
  mark = p.mark();
  p.call("player_play");
  const complete = await p.waitFor("play_complete", mark, 2000);
  const times = p.times(mark);
  assertTrue(times.length >= 2 && isRising(times) && times[times.length - 1] <= TONE_MS, "times " + times);
  assertTrue(complete.at - p.since(mark)[0].at >= 250, "the last 400 ms took real time");
  assertEqual(p.state(), STATE.READY, "state after the end");
  assertEqual(p.args(mark, "play_complete").length, 1, "one completion");
  mark = p.mark();
  await sleep(250);
  assertEqual(p.times(mark), [], "no current time after the end");
  assertEqual(p.call("player_play"), 0, "play again");
  const restart = await p.waitFor("current_time", mark, 1000);
  assertTrue(Number(restart.arg) < 300, "restarted at " + restart.arg);

  await sleep(300);
  assertEqual(p.call("player_stop"), 0, "stop");
  assertEqual(p.state(), STATE.READY, "stopped");
  await sleep(100);
  assertEqual(p.position(), 0, "rewound");
  assertEqual(p.call("player_stop"), 0, "stop when stopped");
  assertEqual(p.call("player_pause"), -1, "pause when stopped");
  mark = p.mark();
  assertEqual(p.call("player_play"), 0, "play after stop");
  const first = await p.waitFor("current_time", mark, 1000);
  assertTrue(Number(first.arg) < 300, "from the start: " + first.arg);
  kite.destroy(p.tether);
});

runTests();
