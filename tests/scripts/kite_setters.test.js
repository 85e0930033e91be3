// Callback properties set through setJSFunction: any value is stored,
// wrong receivers are refused, nothing can be read back by the property.
kite.load("lib/assert.js");

const NOT_NATIVE = "Attempt to pass a JSObject as a native object";
const DESTROYED = "Attempt to access destroyed JavaScript object.";

check("setters store any value", () => {
  const probe = new Probe();
  assertEqual(probe.stored(), null, "nothing assigned yet");
  const fn = () => 1;
  const object = { k: 1 };
  for (const value of [5, "text", "", null, undefined, true, 0, fn, object, [1, 2], 12n]) {
    probe.onvalue = value;
    assertTrue(Object.is(probe.stored(), value), "stored " + String(value));
  }
  const sym = Symbol("s");
  probe.onvalue = sym;
  assertTrue(probe.stored() === sym, "symbol stored");
});

check("the property reads undefined whatever was assigned", () => {
  const probe = new Probe();
  probe.onvalue = () => 1;
  assertEqual(probe.onvalue, undefined);
});

check("stored functions are called, other values are not", () => {
  const probe = new Probe();
  const seen = [];
  probe.onvalue = (...args) => { seen.push(args); return "result"; };
  assertEqual(probe.invokeStored("a", 2), "result");
  assertEqual(probe.invokeStored(), "result");
  assertEqual(seen, [["a", 2], []]);
  probe.onvalue = 5;
  assertEqual(probe.invokeStored("x"), null, "a number is not called");
  assertEqual(seen.length, 2);
});

check("each object keeps its own value", () => {
  const a = new Probe();
  const b = new Probe();
  a.onvalue = "a";
  b.onvalue = "b";
  assertEqual([a.stored(), b.stored()], ["a", "b"]);
});

check("setters refuse receivers without a native", () => {
  const probe = new Probe();
  probe.onvalue = "kept";
  const error = assertThrows(() => { Object.create(probe).onvalue = 1; }, NOT_NATIVE, "inheriting object");
  assertTrue(error instanceof Error, "an Error");
  assertThrows(() => Reflect.set(probe, "onvalue", 2, {}), NOT_NATIVE, "plain receiver");
  assertEqual(probe.stored(), "kept", "value unchanged");
});

check("setters refuse objects of another native class", () => {
  const probe = new Probe();
  const foreign = new Foreign();
  probe.onvalue = "kept";
  assertThrows(() => Reflect.set(probe, "onvalue", 3, foreign), NOT_NATIVE);
  Object.setPrototypeOf(foreign, probe);
  assertThrows(() => { foreign.onvalue = 4; }, NOT_NATIVE, "through the prototype chain");
  assertEqual(probe.stored(), "kept");
});

check("setters of a destroyed object throw", () => {
  const probe = new Probe();
  kite.destroy(probe);
  assertThrows(() => { probe.onvalue = () => 0; }, DESTROYED);
  const other = new Probe();
  assertThrows(() => Reflect.set(other, "onvalue", 1, probe), DESTROYED, "destroyed receiver");
});

done();
