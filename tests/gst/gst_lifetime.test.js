// Players of the GStreamer adapter living together and ending at any time:
// several at once, one destroyed while it plays, many short-lived ones.
kite.load("../scripts/lib/assert.js");
kite.load("lib/gst.js");

test("several objects play at once, each on its own media time", async () => {
  const starts = [1500, 2000, 2500];
  const players = starts.map((start) => {
    const p = new RecordingPlayer().open(TONE, true);
    p.call("player_seek_to", { param_seek_to: start });
    return p;
  });
  await Promise.all(players.map((p) => p.waitFor("seek_complete", 0, 2000)));
  const marks = players.map((p) => p.mark());
  players.forEach((p) => assertEqual(p.call("player_play"), 0, "play"));
  const ends = await Promise.all(players.map((p, i) => p.waitFor("play_complete", marks[i], 3000)));
  players.forEach((p, i) => {
    const times = p.times(marks[i]);
    assertTrue(times.length >= 3 && isRising(times), "times of player " + i + ": " + times);
    assertTrue(times[0] >= starts[i] && times[times.length - 1] <= TONE_MS, "range of player " + i + ": " + times);
    assertEqual(p.state(), STATE.READY, "state of player " + i);
  });
  // Each ran at the media's pace: the one with the least left ended first.
  assertTrue(ends[2].at < ends[1].at && ends[1].at < ends[0].at, "order of the ends");
  assertTrue(ends[0].at - ends[2].at >= 700, "1000 ms apart, about: " + (ends[0].at - ends[2].at));
  players.forEach((p) => kite.destroy(p.tether));
});

test("destroying one of several playing objects leaves the others playing", async () => {
  const players = [0, 1, 2].map(() => new RecordingPlayer().open(TONE, true));
  players.forEach((p) => p.call("player_play"));
  await sleep(300);
  kite.destroy(players[1].tether);
  const marks = players.map((p) => p.mark());
  await sleep(400);
  assertTrue(players[0].times(marks[0]).length >= 2, "first goes on");
  assertEqual(players[1].since(marks[1]), [], "destroyed one is silent at once");
  assertThrows(() => players[1].tether.player_play());
  assertTrue(players[2].times(marks[2]).length >= 2, "third goes on");
  kite.destroy(players[0].tether);
  kite.destroy(players[2].tether);
});

test("many objects made, started and dropped at once", async () => {
  for (let i = 0; i < 12; i++) {
    const p = new RecordingPlayer().open(TONE, i % 3 !== 0);
    if (i % 3 === 1) p.call("player_play");
    if (i % 3 === 0) p.call("player_prepare_async");
    if (i % 4 === 0) p.call("player_set_party_tv_mode", { param_party_mode: true });
    kite.destroy(p.tether);
  }
  // Dropped without kite.destroy: the collector ends them.
  for (let i = 0; i < 4; i++) new RecordingPlayer().open(TONE, true).call("player_play");
  kite.gc();
  await sleep(200);
  const survivor = new RecordingPlayer().open(TONE, true);
  survivor.call("player_play");
  await survivor.waitFor("current_time", 0, 1000);
  kite.destroy(survivor.tether);
});

runTests();
