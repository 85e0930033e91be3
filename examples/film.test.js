// @ts-check
// Tests of examples/film.js:   kite test examples/film.test.js
// kite test runs them on the model player, whose media are described with
// sim.media, with time standing still until sim.advance moves it: two hours
// of film play in a moment, and the events come as GStreamer sends them.

// kite.load runs film.js in this file's global scope, as a second <script>
// tag of the page: film.js's global createFilm is declared here too, so this
// file names what kite.load answers differently (a `const createFilm` here
// would fail with "Identifier 'createFilm' has already been declared").
const openFilm = /** @type {import("./film.js").CreateFilm} */ (kite.load("film.js"));

const HOURS_2 = 2 * 60 * 60 * 1000;
sim.media("film.mp4", { duration: HOURS_2 });
sim.media("live.ts", { network: true, seekable: false });
sim.media("notes.txt", { error: "not-media" });

// Each row: the media, what the viewer does, and the screen's lines.
/** @type {[string, string, (film: import("./film.js").Film) => void, string[]][]} */
const ROWS = [
  ["starts playing once prepared", "film.mp4", () => sim.advance(0), ["playing 0:00 / 2:00:00"]],
  ["pauses and plays on where it was", "film.mp4", (film) => {
    sim.advance(5000);
    film.press("ok");
    sim.advance(60000);
    film.press("ok");
  }, ["playing 0:00 / 2:00:00", "paused at 0:05", "playing 0:05 / 2:00:00"]],
  ["three skips in a row land with one onseek_complete", "film.mp4", (film) => {
    sim.advance(1000);
    film.press("right");
    film.press("right");
    film.press("right");
    sim.advance(0);
  }, ["playing 0:00 / 2:00:00", "skipping", "skipping", "skipping", "at 0:31"]],
  ["plays two hours to the end", "film.mp4", () => sim.advance(HOURS_2), ["playing 0:00 / 2:00:00", "the end"]],
  ["a live stream cannot skip, and plays on", "live.ts", (film) => {
    sim.advance(3000);
    film.press("right");
  }, ["playing 0:00 / live", "this stream cannot skip"]],
  ["a file that is not there", "gone.mp4", () => sim.advance(0), ["cannot play gone.mp4", "cannot play: Resource not found."]],
  ["a file that is no media", "notes.txt", () => sim.advance(0), ["cannot play: Could not determine type of stream."]],
];

describe("film", () => {
  for (const [name, url, act, expected] of ROWS) {
    test(name, () => {
      /** @type {string[]} */
      const lines = [];
      const film = openFilm(url, (line) => lines.push(line));
      act(film);
      film.close();
      assert.deepEqual(lines, expected);
    });
  }
});
