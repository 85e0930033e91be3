// On kite test's default virtual time, a test or hook that awaits while the
// clock has nothing to run before it moves fails at once, saying what is
// scheduled and what it waits for; one whose promise something can still
// settle (the clock moved, an afterIdle call, a plug-in's ref'd thread-safe
// call) passes. The run has a time limit of a minute, so a failure that
// says "timed out" is a stall that was missed.
sim.media("film.mp4", { duration: 3000 });
sim.media("held.m3u8", { kind: "hls", duration: 60000, hold: true });

// Each test and hook leaves the clock clear for the next: its timers and
// plug-in objects go.
const players = [];
function openPlayer(url) {
  const player = new Tether();
  player.player_create();
  player.player_set_uri({ param_url: url });
  players.push(player);
  return player;
}
function clearClock() {
  for (const entry of sim.pending()) {
    if (entry.kind === "timeout" || entry.kind === "interval") clearTimeout(entry.id);
  }
  for (const player of players.splice(0)) kite.destroy(player);
}
afterEach(clearClock);

describe("stalls", () => {
  test("a timer the clock never reaches", () => new Promise((resolve) => setTimeout(resolve, 1500)));
  test("a timer with the clock between milliseconds", () => {
    sim.advance(0.1);
    return new Promise((resolve) => setTimeout(resolve, 1));
  });
  test("an interval", async () => {
    setInterval(() => {}, 250);
    await new Promise(() => {});
  });
  test("a callback with nothing scheduled", async () => {
    const player = openPlayer("film.mp4");
    await new Promise((resolve) => { player.onplay_complete = resolve; });
  });
  test("a plug-in's thread behind an unref'd thread-safe call", async () => {
    const probe = new Probe();
    players.push(probe);
    await new Promise((resolve) => {
      probe.onvalue = resolve;
      probe.countFromThread(1, false, 60000);
    });
  });
  test("a playing player's end", async () => {
    const player = openPlayer("film.mp4");
    player.player_prepare();
    player.player_play();
    await new Promise((resolve) => { player.onplay_complete = resolve; });
  });
  test("a thenable that never calls back", () => ({ then() {} }));
  test("a prepare held until sim.release", async () => {
    const player = openPlayer("held.m3u8");
    const prepared = new Promise((resolve) => { player.onprepare_complete = resolve; });
    player.player_prepare_async();
    sim.advance(100);
    await prepared;
  });
  describe("in a before hook", () => {
    before(() => new Promise((resolve) => setTimeout(resolve, 10)));
    after(clearClock);
    test("is not run", () => {});
  });
  describe("in a beforeEach hook", () => {
    beforeEach(async () => { await new Promise(() => {}); });
    test("is the test's", () => {});
  });
});

describe("goes on", () => {
  test("the clock moved before the await", async () => {
    const done = new Promise((resolve) => setTimeout(resolve, 10));
    sim.advance(10);
    await done;
  });
  test("an afterIdle call", () => new Promise((resolve) => kite.afterIdle(resolve)));
  test("an event queued for delivery", async () => {
    const player = openPlayer("film.mp4");
    const landed = new Promise((resolve) => { player.onseek_complete = resolve; });
    sim.emit(sim.count() - 1, sim.SEEK_COMPLETE);
    await landed;
  });
  test("a player's event already due", async () => {
    const player = openPlayer("film.mp4");
    const prepared = new Promise((resolve) => { player.onprepare_complete = resolve; });
    player.player_prepare_async();
    await prepared;
  });
  test("a plug-in's thread behind a ref'd thread-safe call", async () => {
    const probe = new Probe();
    const values = [];
    await new Promise((resolve) => {
      probe.onvalue = (value) => { values.push(value); if (values.length === 3) resolve(); };
      probe.countFromThread(3, true, 50);
    });
    assert.deepEqual(values, ["1", "2", "3"]);
    kite.destroy(probe);
  });
});
