// A file whose report kite test prints readably (report.out) and as TAP
// (report.tap): output, passes, failures with their values, a skipped test.
console.log("declared at the top level");
test("adds", () => {
  assert.equal(1 + 1, 2);
});
test("compares numbers", () => {
  assert.equal(1 + 1, 3);
});
test("says why in its own words", () => {
  assert.equal(1 + 1, 3, "arithmetic is broken");
});
describe("player", () => {
  it("lists its settings", () => {
    assert.deepEqual({ volume: 10, tracks: ["en", "fr"] }, { volume: 10, tracks: ["en", "de"] });
  });
  describe("in # corner cases", () => {
    test.skip("is not run", () => {
      throw new Error("ran");
    });
    test("waits for its promise", async () => {
      await new Promise((resolve) => setTimeout(resolve, 10));
      console.log("after the wait");
    });
  });
});
