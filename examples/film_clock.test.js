// @ts-check
// More tests of examples/film.js:   kite test examples/film_clock.test.js
// Instead of moving the clock by set amounts, they run it to what they wait
// for (sim.runUntil) or to its end (sim.runAll), and look at what is
// scheduled on it (sim.pending).

const openFilm = /** @type {import("./film.js").CreateFilm} */ (kite.load("film.js"));

const HOURS_2 = 2 * 60 * 60 * 1000;
sim.media("film.mp4", { duration: HOURS_2 });
sim.media("radio.m3u8", { kind: "hls", live: true, latency: 300 });

describe("film on the clock", () => {
  test("plays to the end, and leaves nothing scheduled", () => {
    /** @type {string[]} */
    const lines = [];
    const film = openFilm("film.mp4", (line) => lines.push(line));
    const start = sim.now();
    const end = sim.runUntil(() => lines.includes("the end"), HOURS_2 + 1000);
    assert.equal(end - start, HOURS_2);
    assert.deepEqual(sim.pending(), []);
    film.close();
  });
  test("paused, the player has nothing scheduled", () => {
    /** @type {string[]} */
    const lines = [];
    const film = openFilm("film.mp4", (line) => lines.push(line));
    sim.runUntil(() => lines.length === 1);
    film.press("ok");
    assert.deepEqual(sim.pending(), []);
    film.press("ok");
    assert.deepEqual(sim.pending().map((call) => call.kind), ["player", "player"]);
    film.close();
  });
  test("a live stream starts after the network's latency and never ends", () => {
    /** @type {string[]} */
    const lines = [];
    const film = openFilm("radio.m3u8", (line) => lines.push(line));
    const start = sim.now();
    assert.equal(sim.runUntil(() => lines.length > 0, 1000) - start, 300);
    assert.throws(() => sim.runAll(1000), /^Error: sim.runAll: 1000 calls ran and more are scheduled/);
    film.close();
    assert.deepEqual([lines, sim.pending()], [["playing 0:00 / live"], []]);
  });
});
