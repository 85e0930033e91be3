// Which player a test file gets when kite test is not told (a kite run test
// checks the line).
console.log("sim.answer: " + typeof sim.answer + ", sim.media: " + typeof sim.media);
test("has a player", () => {});
