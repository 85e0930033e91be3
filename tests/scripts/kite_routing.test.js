// Method calls of a plug-in class: receivers the routers refuse, argument
// lists and results.
kite.load("lib/assert.js");

const NO_INSTANCE = "Cannot call native method without object instance";
const DESTROYED = "Attempt to access destroyed JavaScript object.";

check("methods refuse receivers without a native", () => {
  const probe = new Probe();
  const calls = probe.handlerCalls();
  const error = assertThrows(() => probe.argCount.call({}), NO_INSTANCE, "plain object");
  assertTrue(error instanceof Error && error.constructor === Error, "a plain Error");
  assertThrows(() => Probe.prototype.argCount(1), NO_INSTANCE, "prototype as receiver");
  assertThrows(() => probe.argCount.call(Object.create(probe)), NO_INSTANCE, "object inheriting from a probe");
  assertThrows(() => probe.argCount.call(null), NO_INSTANCE, "null receiver");
  assertThrows(() => probe.argCount.call(7), NO_INSTANCE, "number receiver");
  assertEqual(probe.handlerCalls(), calls, "no handler ran");
});

check("methods refuse objects of another native class", () => {
  const probe = new Probe();
  const foreign = new Foreign();
  const calls = probe.handlerCalls();
  assertThrows(() => probe.argCount.call(foreign), NO_INSTANCE, "foreign as a probe");
  assertThrows(() => foreign.marker.call(probe), NO_INSTANCE, "probe as a foreign");
  assertEqual(probe.handlerCalls(), calls, "no handler ran");
  assertEqual(foreign.marker(), 7, "foreign's own method still works");
});

check("methods of a destroyed object throw", () => {
  const probe = new Probe();
  const other = new Probe();
  assertEqual(kite.destroy(probe), true, "first destroy");
  assertEqual(kite.destroy(probe), false, "second destroy");
  assertThrows(() => probe.argCount(), DESTROYED, "direct call");
  assertThrows(() => other.argCount.call(probe), DESTROYED, "through call");
  assertEqual(other.argCount(1, 2), 2, "other object unaffected");
});

check("argument indexes out of range read undefined", () => {
  const probe = new Probe();
  assertEqual(probe.argAt(0), 0, "index 0 is the index itself");
  assertEqual(probe.argAt(1, "x"), "x");
  assertEqual(probe.argAt(2, "x", null), null);
  assertEqual(probe.argAt(1), undefined, "one past the end");
  assertEqual(probe.argAt(99, 1, 2), undefined, "far past the end");
  assertEqual(probe.argAt(-1, "x"), undefined, "negative");
  assertEqual(probe.argCount(), 0);
  assertEqual(probe.argCount(undefined, undefined), 2, "explicit undefined arguments count");
  const object = { a: 1 };
  assertTrue(probe.argAt(1, object) === object, "objects come back as themselves");
});

check("an empty result returns undefined", () => {
  const probe = new Probe();
  assertEqual(probe.empty(), undefined);
  assertEqual(probe.empty(1, 2, 3), undefined);
  assertTrue(!("x" in { r: probe.empty() }) && probe.empty() === undefined);
});

check("a handler's runtime exception becomes an Error with its text", () => {
  const probe = new Probe();
  assertThrows(() => probe.fail("custom text"), "custom text");
  assertThrows(() => probe.fail(""), "");
  assertEqual(probe.argCount(1), 1, "the object still works afterwards");
});

done();
