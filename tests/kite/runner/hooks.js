// Hooks that fail, a test declared too late, and kite.quit inside a test
// (hooks.out).
describe("broken setup", () => {
  before(() => {
    throw new Error("no database");
  });
  test("needs the database", () => {});
  test.skip("is skipped anyway", () => {});
});
describe("broken teardown", () => {
  after(() => {
    throw new Error("cleanup failed");
  });
  test("runs before it", () => {});
});
test("declares a test inside a test", () => {
  test("inner", () => {});
});
test("quits", () => {
  kite.quit(3);
});
test("is never reached", () => {});
