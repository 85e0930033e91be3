// @ts-check
// examples/film.js on a slow and on a failing network:
//   kite test examples/film_network.test.js
const openFilm = /** @type {import("./film.js").CreateFilm} */ (kite.load("film.js"));

// A server that answers only once the test releases it, and a stream whose
// fourth segment (from 6 s on) is gone, over a network twice as fast as the
// media: the player reads ahead and meets the loss 3 s in.
sim.media("slow.m3u8", { kind: "hls", duration: 60000, hold: true });
sim.media("lost.m3u8", { kind: "hls", duration: 60000, bandwidth: 2, fail: { segment: 3, error: "http-404" }, reason: "Gone" });

describe("film on the network", () => {
  test("starts only once the server answers", () => {
    /** @type {string[]} */
    const lines = [];
    const film = openFilm("slow.m3u8", (line) => lines.push(line));
    sim.advance(10000);
    assert.deepEqual(lines, []);
    assert.equal(sim.release("slow.m3u8"), 1);
    sim.advance(0);
    film.close();
    assert.deepEqual(lines, ["playing 0:00 / 1:00"]);
  });
  test("says so when a segment is lost", () => {
    /** @type {string[]} */
    const lines = [];
    const film = openFilm("lost.m3u8", (line) => lines.push(line));
    sim.advance(10000);
    film.close();
    assert.deepEqual(lines, ["playing 0:00 / 1:00", "cannot play: Gone"]);
  });
});
