// What a test file can rely on, checked from inside: hooks and tests in
// their order, a test's promise awaited, declarations refused where they
// cannot work. What it leaves behind, fresh.test.js must not find.
globalThis.lastFile = "declare.test.js";
new Tether();

const log = [];
before(() => log.push("before"));
beforeEach(() => log.push("beforeEach"));
afterEach(() => log.push("afterEach"));
describe("outer", () => {
  before(() => log.push("outer before"));
  beforeEach(() => log.push("outer beforeEach"));
  afterEach(() => log.push("outer afterEach"));
  after(() => log.push("outer after"));
  it("first", () => log.push("first"));
  it("waits for its promise", () => new Promise((resolve) => setTimeout(() => resolve(log.push("resolved")), 20)));
});
test("runs after the suite, every hook in its place", () => {
  assert.deepEqual(log, [
    "before",
    "outer before", "beforeEach", "outer beforeEach", "first", "outer afterEach", "afterEach",
    "beforeEach", "outer beforeEach", "resolved", "outer afterEach", "afterEach",
    "outer after", "beforeEach",
  ]);
});

// Each row: a declaration and the error it throws while the file declares.
const misuse = [
  [() => test(/** @type {any} */ (5), () => {}), "TypeError: test: the name must be a string"],
  [() => it("no body", /** @type {any} */ (undefined)), "TypeError: test: the second argument must be a function"],
  [() => it("no body", { leaks: true }, /** @type {any} */ (undefined)), "TypeError: test: the third argument must be a function"],
  [() => test("node's", /** @type {any} */ ({ timeout: 100 }), () => {}),
    "TypeError: test: unknown option 'timeout' (the one option is leaks)"],
  [() => test.skip("leaks", /** @type {any} */ ({ leaks: 1 }), () => {}), "TypeError: test.skip: the option leaks must be true or false"],
  [() => describe("async", /** @type {any} */ (async () => {})),
    "TypeError: describe: the body declares its tests at once; it must not return a promise"],
  [() => afterEach(/** @type {any} */ (5)), "TypeError: afterEach: the argument must be a function"],
];
const misuseAnswers = misuse.map(([declare]) => {
  try {
    declare();
    return "accepted";
  } catch (error) {
    return String(error);
  }
});

test("misuse while declaring is refused", () => {
  assert.deepEqual(misuseAnswers, misuse.map(([, message]) => message));
});

test("declarations are refused while the tests run", () => {
  const late = [
    ["test", () => test("late", () => {})],
    ["test.only", () => test.only("late", () => {})],
    ["describe", () => describe("late", () => {})],
    ["before", () => before(() => {})],
    ["after", () => after(() => {})],
    ["beforeEach", () => beforeEach(() => {})],
    ["afterEach", () => afterEach(() => {})],
  ];
  for (const [name, declare] of late) {
    assert.throws(declare, {
      name: "Error",
      message: name + ": tests, suites and hooks are declared at the top level of the file or in a describe body," +
        " not while the tests run",
    });
  }
});

test("it is test", () => {
  assert.equal(it, test);
});
