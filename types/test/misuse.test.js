// What scripts/check-types.sh refuses in a test file: kite test's globals
// misused, and the project's own assertions, which test files do not get
// (scripts/test.sh checks the messages).
test(5, () => {});
describe("suite", async () => {});
assert.match(5, /five/);
assertEqual(1, 1);
