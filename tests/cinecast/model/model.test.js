// What the model player does beyond the scenarios it shares with GStreamer
// (tests/cinecast/parity): media described by sim.media, exact times on virtual
// time, bands, sim.emit and sim.calls, and sim.media's refusals (network and
// live media: network.test.js; the tick and the end: clock.test.js; what
// examples/film.test.js shows). Each row: media, what the script does, and
// the log it must leave.
kite.load("../../support/lib/assert.js");
kite.load("lib/rows.js");

// A player on url whose events, and what the row logs itself, go to log.
const player = (url, log) => loggedPlayer(url, log, MODEL_EVENTS, (entry) => entry);

const ROWS = [
  ["pause holds the position; resume counts 100 ms from there", { duration: 1000 }, (p, log) => {
    p.player_prepare();
    p.player_play();
    sim.advance(150);
    p.player_pause();
    sim.advance(500);
    log(data(p.player_get_current_position()));
    p.player_resume();
    sim.advance(100);
  }, ["current_time:100", 150, "current_time:250"]],
  ["a seek while playing: the time every 100 ms counted from its landing", { duration: 3000 }, (p, log) => {
    p.player_prepare();
    p.player_play();
    sim.advance(150);
    p.player_seek_to({ param_seek_to: 1000 });
    sim.advance(50);
    log("at 200");
    sim.advance(50);
  }, ["current_time:100", "seek_complete", "at 200", "current_time:1100"]],
  ["party mode: the described bands with each time", { duration: 1000, bands: [50, 0, 100] }, (p, log) => {
    p.player_set_party_tv_mode({ param_party_mode: true });
    p.player_prepare();
    p.player_play();
    sim.advance(100);
  }, ["current_time:100", "sound_analysis:50|0|100"]],
  ["party mode on silent media: 16 bands of 0", { duration: 1000 }, (p, log) => {
    p.player_set_party_tv_mode({ param_party_mode: true });
    p.player_prepare();
    p.player_play();
    sim.advance(100);
  }, ["current_time:100", "sound_analysis:" + Array(16).fill(0).join("|")]],
  ["media described after the URL is set count at the prepare", "late", (p, log) => {
    sim.media("late.wav", { duration: 500 });
    log(code(p.player_prepare()) + " " + data(p.player_get_duration()));
  }, ["0 500"]],
  ["a restore at a time on media that cannot seek starts at 0", { duration: 3000, seekable: false }, (p, log) => {
    p.player_restore({ param_restore_url: "", param_restore_resume_time: 2000, param_restore_prepare: true });
    log(data(p.player_get_current_position()));
  }, [0]],
  ["sim.emit still forces any event; the player's state stays", { duration: 1000 }, (p, log) => {
    p.player_prepare();
    log(sim.emit(sim.count() - 1, sim.ASM_PAUSE, { type: 65, param1: "sink", param2: "PAUSED" }));
    kite.afterIdle(() => log(data(p.player_get_player_state())));
    sim.advance(0);
  }, [true, "asm_pause:EventType:A,sink,PAUSED;", 2]],
  ["sim.calls records the requests as for the simulated player", { duration: 1000 }, (p, log) => {
    p.player_seek_to({ param_seek_to: 5 });
    p.player_skip({ param_skip: -3 });
    p.player_suspend({});
    p.player_restore({ param_restore_url: "", param_restore_resume_time: 7, param_restore_prepare: false });
    log(sim.calls(sim.count() - 1).slice(-6).join(" "));
  }, ['create() setUri("row.wav") seekTo(5,null) Skip(-3,null) suspend() restore("",7,false)']],
  ["a destroyed player is no longer alive, and sim.emit reaches it no more", { duration: 1000 }, (p, log) => {
    const alive = sim.alive();
    kite.destroy(p);
    log(alive - sim.alive());
    log(sim.emit(sim.count() - 1, sim.PREPARE_COMPLETE));
  }, [1, false]],
];

runRows(ROWS, (media, log) => {
  const url = typeof media === "string" ? media + ".wav" : "row.wav";
  if (typeof media === "object") sim.media(url, media);
  return player(url, log);
});

// sim.media's refusals: [what, description, the error's type and message].
const MEDIA = [
  ["a negative duration", { duration: -1 }, RangeError, "duration must be an integer from 0 to 2147483647"],
  ["a fractional duration", { duration: 1.5 }, RangeError, "duration must be an integer from 0 to 2147483647"],
  ["a duration as text", { duration: "10" }, TypeError, "duration must be a Number or BigInt"],
  ["seekable as a number", { seekable: 1 }, TypeError, "seekable must be true or false"],
  ["network as text", { network: "yes" }, TypeError, "network must be true or false"],
  ["an unknown error", { error: "gone" }, RangeError,
   "error must be one of 'missing', 'not-media', 'unsupported', 'http-404', 'refused'"],
  ["a band above 100", { bands: [101] }, RangeError, "each band must be an integer from 0 to 100"],
  ["bands that are no array", { bands: 5 }, TypeError, "bands must be an array of integers"],
  ["no description", null, TypeError,
   "the media must be described by an object {duration, seekable, network, error, bands}"],
];
checkMediaRefusals(MEDIA);
checkRefusals([["a URL that is no string", () => sim.media(5, {}), TypeError, "sim.media: the URL must be a string"]]);
check("the simulated player's own functions are not there", () =>
  assertEqual(["answer", "report", "burst", "drain"].map((name) => typeof sim[name]), Array(4).fill("undefined")));
done();
