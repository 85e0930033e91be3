// Which player and clock a test file gets when kite test is not told (a kite
// run test checks the line).
const start = sim.now();
sim.advance(10);
console.log("sim.answer: " + typeof sim.answer + ", sim.media: " + typeof sim.media +
            ", sim.advance(10) moved the clock " + (sim.now() - start) + " ms");
test("has a player", () => {});
