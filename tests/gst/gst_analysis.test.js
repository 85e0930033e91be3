// Party mode on the GStreamer player: sound-analysis bands while it is on
// and the media plays, none once it is off.
kite.load("../scripts/lib/assert.js");
kite.load("lib/gst.js");

const BANDS = 16;
const party = (p, on) => p.call("player_set_party_tv_mode", { param_party_mode: on });
const afterIdle = () => new Promise((resolve) => kite.afterIdle(resolve));

// Every text is BANDS integers from 0 to 100 joined by "|".
function parseBands(texts) {
  return texts.map((text) => {
    assertEqual(typeof text, "string", "band text");
    const bands = text.split("|");
    assertEqual(bands.length, BANDS, "band count of " + text);
    assertTrue(bands.every((b) => /^(0|[1-9][0-9]?|100)$/.test(b)), "band values of " + text);
    return bands.map(Number);
  });
}

test("bands of the tone at a steady rate while party mode is on", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  const fn = () => { throw new Error("the listener function is never called"); };
  assertEqual(p.call("player_register_sound_analysis_listener", fn, {}), 0, "register");
  assertEqual(party(p, true), 0, "party mode on");
  const mark = p.mark();
  p.call("player_play");
  await sleep(700);
  const sets = parseBands(p.args(mark, "sound_analysis"));
  assertTrue(sets.length >= 5 && sets.length <= 8, "sets in 700 ms: " + sets.length);
  // A 440 Hz tone: the lowest band is loud, the highest are near silence.
  for (const bands of sets) {
    assertTrue(bands[0] >= 60 && bands[0] === Math.max(...bands), "lowest band loudest: " + bands);
    assertTrue(bands[BANDS - 1] <= 20, "highest band quiet: " + bands);
  }
  const at = p.since(mark, "sound_analysis").map((e) => e.at);
  const gaps = at.slice(1).map((t, i) => t - at[i]);
  assertTrue(gaps.every((g) => g >= 40 && g <= 250), "gaps " + gaps);
  kite.destroy(p.tether);
});

test("none after party mode is off or while paused; on again resumes", async () => {
  const p = new RecordingPlayer().open(TONE, true);
  party(p, true);
  p.call("player_play");
  await p.waitFor("sound_analysis", 0, 1000);
  assertEqual(party(p, false), 0, "party mode off");
  await afterIdle();
  const off = p.mark();
  await sleep(400);
  assertEqual(p.args(off, "sound_analysis"), [], "bands while off");
  assertTrue(p.times(off).length >= 2, "still playing: " + p.times(off));

  assertEqual(party(p, true), 0, "on again");
  const on = p.mark();
  await p.waitFor("sound_analysis", on, 1000);
  parseBands(p.args(on, "sound_analysis"));
  // Paused media gives none.
  p.call("player_pause");
  await afterIdle();
  const paused = p.mark();
  await sleep(300);
  assertEqual(p.args(paused, "sound_analysis"), [], "bands while paused");
  kite.destroy(p.tether);
});

runTests();
