// Hooks that fail or never settle, a test declared too late, and kite.quit
// inside a test (hooks.out, with --timeout=300).
describe("broken setup", () => {
  before(() => {
    throw new Error("no database");
  });
  test("needs the database", () => {});
  test.skip("is skipped anyway", () => {});
});
describe("slow setup", () => {
  before(() => new Promise(() => {}));
  test("waits for it", () => {});
});
describe("broken beforeEach", () => {
  beforeEach(() => {
    throw new Error("no fixture");
  });
  test("is not run", () => {
    throw new Error("the body ran");
  });
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
