// The class builder's typed members, through "Shelf" of the test plug-in:
// each form with the script's calls and what they answer or throw.
kite.load("../support/lib/assert.js");

const DESTROYED = "Attempt to access destroyed JavaScript object.";
const UNKNOWN = "a native exception of unknown type";
const describe = (name) => Object.getOwnPropertyDescriptor(Shelf.prototype, name);
const INT32 = "a whole number from -2147483648 to 2147483647";
const INT64 = "a whole number within 2^53 - 1 either way, or a BigInt of 64 bits";
const illegal = (member) => "Illegal invocation: Shelf." + member + " on an object that is not a Shelf";

// [what, call, answer]: each call on a fresh shelf holding 2 "pen" and 1 "ink".
const fresh = () => {
  const shelf = new Shelf({ name: "desk" });
  shelf.add(2, "pen");
  shelf.add(1, "ink");
  return shelf;
};
const ANSWERS = [
  ["a method's int and text arguments, its int result", (s) => s.add(3, "pen"), 6],
  ["extra arguments are ignored", (s) => s.add(1, "cup", "extra", 4), 4],
  ["a bool result", (s) => [s.has("pen"), s.has("cup")], [true, false]],
  ["a void method answers undefined", (s) => [s.clear(), s.size], [undefined, 0]],
  ["a ScriptArray result is an array", (s) => s.items(), ["ink", 1, "pen", 2]],
  ["a function taking the native first, a double both ways", (s) => s.share(1.5), 0.5],
  ["the list form beside the typed ones", (s) => s.arguments(1, "two", {}), 3],
  ["a ScriptObject argument takes any value", (s) => [s.rename({ name: "attic" }), s.rename(7), s.name],
   ["attic", "attic", "attic"]],
  ["a read-only getter refuses assignment", (s) => [Reflect.set(s, "size", 9), s.size], [false, 3]],
  ["a property reads the options' name", (s) => s.name, "desk"],
  ["a property takes a text", (s) => { s.name = "attic"; return s.name; }, "attic"],
  ["a callback property reads null before any assignment", (s) => s.onsaved, null],
  ["a callback property reads back the function assigned",
   (s) => { const f = (n) => n * 10; s.onsaved = f; return s.onsaved === f && s.save(); }, 30],
  ["null and undefined clear it, and read back", (s) => {
    s.onsaved = () => 1;
    s.onsaved = undefined;
    const cleared = s.onsaved;
    s.onsaved = null;
    return [cleared, s.onsaved, s.save()];
  }, [undefined, null, null]],
  ["accessors live on the prototype, not enumerable",
   (s) => [Object.keys(s).length, typeof describe("size").get, describe("size").set, typeof describe("name").set,
           describe("name").enumerable],
   [0, "function", undefined, "function", false]],
  ["a value, read-only on the prototype",
   (s) => [s.VERSION, Shelf.prototype.SLOTS, Reflect.set(Shelf.prototype, "VERSION", "x"),
           delete Shelf.prototype.VERSION, s.VERSION],
   ["2.1", 8, false, false, "2.1"]],
  ["a static method", () => Shelf.pack("ab", 3), "ababab"],
  ["a static method taking any value answers it as it is",
   () => { const o = {}; return [Shelf.echo(o) === o, Shelf.echo(undefined), Shelf.echo(12n)]; },
   [true, undefined, 12n]],
  ["a static boolean both ways", () => [Shelf.not(true), Shelf.not(false)], [false, true]],
  ["a static 64-bit integer both ways", () => [Shelf.twice(2 ** 51), Shelf.twice(-(2n ** 40n))], [2 ** 52, -(2 ** 41)]],
  ["static values, read-only on the constructor",
   () => [Shelf.LIMIT, Shelf.EXACT, Reflect.set(Shelf, "LIMIT", 1), delete Shelf.LIMIT, Shelf.LIMIT],
   [100, true, false, false, 100]],
  ["the default name", () => new Shelf().name, "shelf"],
];

check("each builder form converts its arguments and answers its result", () => {
  for (const [what, call, answer] of ANSWERS)
    assertEqual(call(fresh()), answer, what);
});

// [what, call, the constructor the script sees, its message]
const plain = {};
const REFUSALS = [
  ["a wrong argument type names the argument", (s) => s.add(1, 2), TypeError, "Shelf.add: argument 2 must be a string"],
  ["an int argument that is no int32", (s) => s.add(1.5, "pen"), TypeError, "Shelf.add: argument 1 must be " + INT32],
  ["too few arguments", (s) => s.add(1), TypeError, "Shelf.add: needs 2 arguments, got 1"],
  ["none of one", (s) => s.has(), TypeError, "Shelf.has: needs 1 argument, got 0"],
  ["a double argument", (s) => s.share("1"), TypeError, "Shelf.share: argument 1 must be a number"],
  ["a setter's wrong type", (s) => { s.name = 5; }, TypeError, "Shelf.name: the value must be a string"],
  ["a callback property takes no number", (s) => { s.onsaved = 5; },
   TypeError, "Shelf.onsaved: the value must be a function, null or undefined"],
  ["a setter's own refusal keeps its kind", (s) => { s.name = ""; }, RangeError, "a shelf's name is not empty"],
  ["a static method's argument", () => Shelf.pack("a", "3"), TypeError, "Shelf.pack: argument 2 must be " + INT32],
  ["a 64-bit integer beyond what a number holds exactly", () => Shelf.twice(2 ** 53),
   TypeError, "Shelf.twice: argument 1 must be " + INT64],
  // 2^53, the first integer over; ScriptObject::Integer refuses it the same way.
  ["a result beyond what a number holds exactly", () => Shelf.twice(2 ** 52),
   RangeError, "the integer 9007199254740992 is beyond what a script number holds exactly (2^53 - 1)"],
  ["a method on another class's object", (s) => s.has.call(new Foreign(), "pen"), TypeError, illegal("has")],
  ["a list-form method on another class's object", (s) => s.arguments.call(new Probe()),
   Error, "Cannot call native method without object instance"],
  ["a getter through the prototype chain", (s) => Object.create(s).size, TypeError, illegal("size")],
  ["a getter on the prototype", () => Shelf.prototype.name, TypeError, illegal("name")],
  ["a setter on another class's object", () => describe("name").set.call(new Probe(), "x"), TypeError, illegal("name")],
  ["the receiver comes before the arguments", (s) => s.add.call(plain), TypeError, illegal("add")],
  ["a destroyed receiver", (s) => { kite.destroy(s); return s.size; }, Error, DESTROYED],
  ["a method's std::exception", (s) => s.fail("runtime_error"), Error, "disk full"],
  ["a method's throw 42", (s) => s.fail("int"), Error, "Shelf.fail: " + UNKNOWN],
  ["a method's ScriptError", (s) => s.fail("TypeError"), TypeError, "not a store"],
  ["a getter's KiteJsRuntimeException", (s) => { s.name = "KiteJsRuntimeException"; return s.broken; },
   Error, "no agent"],
  ["a script exception inside a native passes unchanged",
   (s) => s.rename({ get name() { throw new SyntaxError("mine"); } }),
   SyntaxError, "mine"],
  ["a getter's throw 42", (s) => { s.name = "int"; return s.broken; }, Error, "Shelf.broken: " + UNKNOWN],
  ["a static method's std::exception", () => Shelf.pack("a", -1), Error, "times is negative"],
  ["a static method's throw 42", () => Shelf.fail("int"), Error, "Shelf.fail: " + UNKNOWN],
  ["a boolean argument", () => Shelf.not(0), TypeError, "Shelf.not: argument 1 must be a boolean"],
  ["a getter without setter refuses assignment in strict code", (s) => { "use strict"; s.size = 9; },
   TypeError, "Cannot set property size of #<Shelf> which has only a getter"],
  ["a value is read-only in strict code", (s) => { "use strict"; s.VERSION = "3"; },
   TypeError, "Cannot assign to read only property 'VERSION' of object '#<Shelf>'"],
];

check("what a script does wrong is a TypeError naming class and member; what a native throws keeps its kind", () => {
  for (const [what, call, type, message] of REFUSALS) {
    const shelf = fresh();
    const error = assertThrows(() => call(shelf), message, what);
    assertTrue(error.constructor === type, what + ": a " + type.name + ", not a " + error.constructor.name);
    if (what !== "a destroyed receiver")
      assertEqual(shelf.size, 3, what + ": the shelf unchanged");
  }
  assertEqual(fresh().add(1, "cup"), 4, "the engine goes on");
});

done();
