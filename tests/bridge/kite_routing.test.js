// Method calls and callback properties (setJSFunction) of a plug-in class:
// receivers the routers refuse, argument lists, results and stored values.
kite.load("../support/lib/assert.js");

const NO_INSTANCE = "Cannot call native method without object instance";
const NOT_NATIVE = "Attempt to pass a JSObject as a native object";
const DESTROYED = "Attempt to access destroyed JavaScript object.";

check("methods and setters refuse receivers without a native of their class", () => {
  const probe = new Probe();
  const foreign = new Foreign();
  probe.onvalue = "kept";
  const calls = probe.handlerCalls();
  const error = assertThrows(() => probe.argCount.call({}), NO_INSTANCE, "plain object");
  assertTrue(error instanceof Error && error.constructor === Error, "a plain Error");
  for (const [what, receiver] of [["prototype", Probe.prototype], ["inheriting", Object.create(probe)],
                                  ["null", null], ["number", 7], ["foreign", foreign]])
    assertThrows(() => probe.argCount.call(receiver), NO_INSTANCE, what);
  assertEqual(probe.handlerCalls(), calls, "no handler ran");
  assertEqual(foreign.marker(), 7, "foreign's own method still works");

  assertTrue(assertThrows(() => { Object.create(probe).onvalue = 1; }, NOT_NATIVE) instanceof Error, "an Error");
  assertThrows(() => Reflect.set(probe, "onvalue", 2, {}), NOT_NATIVE, "plain receiver");
  Object.setPrototypeOf(foreign, probe);
  assertThrows(() => { foreign.onvalue = 4; }, NOT_NATIVE, "foreign through the prototype chain");
  assertEqual(probe.stored(), "kept", "value unchanged");
});

check("methods and setters of a destroyed object throw, also as receivers", () => {
  const probe = new Probe();
  const other = new Probe();
  assertEqual(kite.destroy(probe), true);
  assertThrows(() => other.argCount.call(probe), DESTROYED, "through call");
  assertThrows(() => Reflect.set(other, "onvalue", 1, probe), DESTROYED, "destroyed receiver");
  assertEqual(other.argCount(1, 2), 2, "other object unaffected");
});

check("argument indexes out of range read undefined", () => {
  const probe = new Probe();
  assertEqual(probe.argAt(2, "x", null), null);
  assertEqual(probe.argAt(1), undefined, "one past the end");
  assertEqual(probe.argAt(-1, "x"), undefined, "negative");
  assertEqual(probe.argCount(undefined, undefined), 2, "explicit undefined arguments count");
  const object = { a: 1 };
  assertTrue(probe.argAt(1, object) === object, "objects come back as themselves");
});

check("setters store any value, each object its own; the property reads undefined", () => {
  const probe = new Probe();
  const other = new Probe();
  assertEqual(probe.stored(), null, "nothing assigned yet");
  other.onvalue = "other";
  for (const value of [5, "text", "", null, undefined, true, 0, () => 1, { k: 1 }, [1, 2], 12n, Symbol("s")]) {
    probe.onvalue = value;
    assertTrue(Object.is(probe.stored(), value), "stored " + String(value));
    assertEqual(probe.onvalue, undefined, "read back " + String(value));
  }
  assertEqual(other.stored(), "other");
});

done();
