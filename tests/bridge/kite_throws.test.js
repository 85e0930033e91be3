// Whatever a plug-in's native throws becomes the script's exception, from
// each place that runs native code; the run goes on. Then the values the SDK
// makes from C++.
kite.load("../support/lib/assert.js");

const UNKNOWN = "a native exception of unknown type";
const DESTROYED = "Attempt to access destroyed JavaScript object.";

// Where native code runs, made to throw the kind named.
const PLACES = {
  method: (kind) => new Probe().throwAs(kind),
  setter: (kind) => { const p = new Probe(); p.arm(kind); p.onthrow = () => 1; },
  getter: (kind) => { const p = new Probe(); p.arm(kind); return p.armed; },
  constructor: (kind) => new Probe("throw", kind),
};

// [place, kind, the constructor the script sees, its message]
const ROWS = [
  ["method", "runtime_error", Error, "disk full"],
  ["method", "int", Error, "Probe.throwAs: " + UNKNOWN],
  ["method", "TypeError", TypeError, "not a store"],
  ["method", "KiteJsRuntimeException", Error, "no agent"],
  ["setter", "runtime_error", Error, "disk full"],
  ["setter", "int", Error, "Probe.onthrow: " + UNKNOWN],
  ["setter", "TypeError", TypeError, "not a store"],
  ["setter", "KiteJsRuntimeException", Error, "no agent"],
  ["getter", "runtime_error", Error, "disk full"],
  ["getter", "int", Error, "Probe.armed: " + UNKNOWN],
  ["getter", "TypeError", TypeError, "not a store"],
  ["getter", "KiteJsRuntimeException", Error, "no agent"],
  ["constructor", "runtime_error", Error, "Probe: disk full"],
  ["constructor", "int", Error, "Probe: " + UNKNOWN],
  ["constructor", "TypeError", TypeError, "not a store"],
  ["constructor", "KiteJsRuntimeException", Error, "no agent"],
];

check("each kind thrown from each place reaches the script as its kind and text", () => {
  for (const [place, kind, type, message] of ROWS) {
    const what = kind + " from the " + place;
    const error = assertThrows(() => PLACES[place](kind), message, what);
    assertTrue(error.constructor === type, what + ": a " + type.name + ", not a " + error.constructor.name);
  }
  // What each place answers when it throws nothing.
  for (const [place, answer] of [["method", "undefined"], ["setter", "undefined"], ["getter", "nothing"],
                                 ["constructor", "[object Object]"]])
    assertEqual(String(PLACES[place]("nothing")), answer, "the " + place + " without a throw");
});

check("a getter written with extract: null for another class, an Error for a destroyed object", () => {
  const probe = new Probe();
  probe.arm("quiet");
  assertEqual(probe.armed, "quiet");
  assertEqual(Reflect.get(probe, "armed", new Foreign()), null, "a receiver of another class");
  assertEqual(Reflect.get(probe, "armed", {}), null, "a plain receiver");
  kite.destroy(probe);
  assertThrows(() => probe.armed, DESTROYED, "destroyed");
  assertEqual(new Probe().argCount(1, 2), 2, "the engine goes on");
});

check("booleans, doubles, 64-bit integers and lists made in C++ arrive as themselves", () => {
  const [t, d, max, min, intTrue, intDouble, list, record] = new Probe().values();
  assertTrue(t === true && d === 3.7, "Boolean and Number");
  assertTrue(max === Number.MAX_SAFE_INTEGER && min === -Number.MAX_SAFE_INTEGER, "Integer at the edges");
  assertTrue(intTrue === 1 && intDouble === 3, "the int constructors convert first");
  assertTrue(Array.isArray(list) && list.length === 2 && list[0] === undefined && list[1] === false, "a list");
  assertTrue(Array.isArray(record.list) && record.list[1] === false, "a list as a property");
  const keeper = new Probe();
  keeper.keep(1, "two", [3]);
  assertEqual(keeper.kept(), [1, "two", [3]], "a call's arguments held beyond the call");
  const reads = [[2 ** 53 - 1, "9007199254740991"], [-(2 ** 53 - 1), "-9007199254740991"], [2 ** 53, false],
                 [1.5, false], ["7", false], [-(2n ** 63n), "-9223372036854775808"], [2n ** 63n, false]];
  for (const [value, read] of reads)
    assertEqual(new Probe().int64(value), read, "int64 of " + String(value));
});

done();
