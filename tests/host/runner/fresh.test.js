// Run with declare.test.js: each file has a kite of its own, so nothing the
// other file declared, set or made is here.
const fresh = globalThis.lastFile === undefined && sim.count() === 0;
globalThis.lastFile = "fresh.test.js";
new Tether();
const log = [];

test("nothing of another file is left", () => {
  assert.deepEqual([fresh, log], [true, []]);
});
