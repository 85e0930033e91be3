// With .only, the file's other tests are skipped (only.out).
test("is skipped", () => {});
test.only("runs", () => {});
describe.only("a suite that runs", () => {
  test("whole", () => {});
  test.skip("but for this", () => {});
});
describe("a suite skipped", () => {
  test("whole", () => {});
});
