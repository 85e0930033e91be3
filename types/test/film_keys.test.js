// What scripts/check-types.sh refuses in a test of examples/film.js: a key
// that its typedefs do not list, reached through import("...film.js")
// (scripts/test.sh checks the message).
const openFilm = /** @type {import("../../examples/film.js").CreateFilm} */ (kite.load("../../examples/film.js"));
openFilm("film.mp4", () => {}).press("up");
