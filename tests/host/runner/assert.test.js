// assert, as test files get it: each row is a call and the message of the
// AssertionError it throws, or null when it passes. The checks are plain
// JavaScript, so that a fault in assert cannot hide itself.

class Point {
  constructor() {
    this.x = 1;
  }
}
const circular = { name: "loop" };
circular.self = circular;

/** @type {[string, () => void, string | null][]} */
const rows = [
  ["ok passes a truthy value", () => assert.ok(1), null],
  ["ok refuses 0", () => assert.ok(0), "Expected a truthy value, got: 0"],
  ["assert itself refuses ''", () => assert(""), "Expected a truthy value, got: ''"],
  ["equal passes the same value", () => assert.equal("a", "a"), null],
  ["equal passes NaN and NaN", () => assert.equal(NaN, NaN), null],
  ["equal shows both values", () => assert.equal(1, 2), "Expected values to be strictly equal:\n\n  actual:   1\n  expected: 2"],
  ["equal does not convert", () => assert.equal("1", 1), "Expected values to be strictly equal:\n\n  actual:   '1'\n  expected: 1"],
  ["equal tells -0 from 0", () => assert.equal(-0, 0), "Expected values to be strictly equal:\n\n  actual:   -0\n  expected: 0"],
  ["equal shows undefined, null, BigInt and Symbol",
    () => assert.equal([undefined, 10n], [null, Symbol("s")]),
    "Expected values to be strictly equal:\n+ actual - expected\n\n  [\n+   undefined,\n+   10n,\n-   null,\n-   Symbol(s),\n  ]"],
  ["equal diffs texts of several lines", () => assert.equal("one\ntwo\nthree", "one\n2\nthree"),
    "Expected values to be strictly equal:\n+ actual - expected\n\n  one\n+ two\n- 2\n  three"],
  ["equal diffs arrays", () => assert.equal([1, 2], [1, 3]),
    "Expected values to be strictly equal:\n+ actual - expected\n\n  [\n    1,\n+   2,\n-   3,\n  ]"],
  ["equal names two objects of one structure", () => assert.equal({ a: 1 }, { a: 1 }),
    "Expected the same object; these have the same structure but are different objects:\n\n{\n  a: 1,\n}"],
  ["notEqual passes different values", () => assert.notEqual(1, "1"), null],
  ["notEqual refuses the same value", () => assert.notEqual(1, 1), "Expected values to differ, but both are: 1"],
  ["deepEqual passes equal structures",
    () => assert.deepEqual({ a: [1, { b: new Map([[1, new Set([2])]]) }], d: new Date(5) },
      { a: [1, { b: new Map([[1, new Set([2])]]) }], d: new Date(5) }), null],
  ["deepEqual passes equal cycles", () => {
    const other = { name: "loop" };
    other.self = other;
    assert.deepEqual(circular, other);
  }, null],
  ["deepEqual passes Sets and Map keys of equal objects",
    () => assert.deepEqual(new Map([[{ k: 1 }, new Set([{ v: 1 }])]]), new Map([[{ k: 1 }, new Set([{ v: 1 }])]])), null],
  ["deepEqual shows where nested values differ, and cuts far lines",
    () => assert.deepEqual({ a: 1, b: { c: [1, 2, 3, 4, 5] } }, { a: 1, b: { c: [1, 2, 3, 4, 6] } }),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  ...\n        2,\n        3,\n        4,\n+       5,\n-       6,\n      ],\n    },\n  }"],
  ["deepEqual diffs Maps", () => assert.deepEqual(new Map([["k", 1]]), new Map([["k", 2]])),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  Map(1) {\n+   'k' => 1,\n-   'k' => 2,\n  }"],
  ["deepEqual diffs Sets", () => assert.deepEqual(new Set([1, 2]), new Set([1, 3])),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  Set(2) {\n    1,\n+   2,\n-   3,\n  }"],
  ["deepEqual tells a hole from undefined", () => assert.deepEqual([1, , 3], [1, undefined, 3]),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  [\n    1,\n+   <1 empty item>,\n-   undefined,\n    3,\n  ]"],
  ["deepEqual compares prototypes", () => assert.deepEqual(new Point(), { x: 1 }),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ Point {\n- {\n    x: 1,\n  }"],
  ["deepEqual shows an object without prototype", () => assert.deepEqual(Object.create(null), {}),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [Object: null prototype] {}\n- {}"],
  ["deepEqual shows cycles", () => assert.deepEqual(circular, { name: "loop", self: {} }),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ <ref *1> {\n- {\n    name: 'loop',\n+   self: [Circular *1],\n-   self: {},\n  }"],
  ["deepEqual compares symbol keys", () => assert.deepEqual({ [Symbol.iterator]: 1 }, { [Symbol.iterator]: 2 }),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  {\n+   [Symbol(Symbol.iterator)]: 1,\n-   [Symbol(Symbol.iterator)]: 2,\n  }"],
  ["deepEqual compares boxed values", () => assert.deepEqual(Object(1), Object(2)),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [Number: 1]\n- [Number: 2]"],
  ["deepEqual passes errors of one name and message", () => assert.deepEqual(new Error("a"), new Error("a")), null],
  ["deepEqual compares errors' messages", () => assert.deepEqual(new Error("a"), new Error("b")),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [Error: a]\n- [Error: b]"],
  ["deepEqual compares dates", () => assert.deepEqual(new Date(0), new Date(1)),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ 1970-01-01T00:00:00.000Z\n- 1970-01-01T00:00:00.001Z"],
  ["deepEqual compares regular expressions", () => assert.deepEqual(/a/g, /a/i),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ /a/g\n- /a/i"],
  ["deepEqual compares typed arrays", () => assert.deepEqual(new Uint8Array([1, 2]), new Uint8Array([1, 3])),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  Uint8Array(2) [\n    1,\n+   2,\n-   3,\n  ]"],
  ["deepEqual shows getters and symbol keys without calling them",
    () => assert.deepEqual({ [Symbol("k")]: 1, get g() { return 1; } }, {}),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ {\n+   g: [Getter],\n+   [Symbol(k)]: 1,\n+ }\n- {}"],
  ["deepEqual shows six levels down", () => assert.deepEqual([[[[[[[[1]]]]]]]], []),
    "Expected values to be deep-equal:\n+ actual - expected\n\n" +
    "+ [\n+   [\n+     [\n+       [\n+         [\n+           [\n+             [\n+               [Array],\n" +
    "+             ],\n+           ],\n+         ],\n+       ],\n+     ],\n+   ],\n+ ]\n- []"],
  ["deepEqual shows the first hundred elements", () => assert.deepEqual(new Array(102).fill(7), []),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [\n" + "+   7,\n".repeat(100) + "+   ... 2 more items,\n+ ]\n- []"],
  ["deepEqual lists empty values and quoted texts one a line", () => assert.deepEqual([{}, [], new Map(), "it's"], []),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [\n+   {},\n+   [],\n+   Map(0) {},\n+   \"it's\",\n+ ]\n- []"],
  ["deepEqual cuts a huge value short",
    () => assert.deepEqual(Array.from({ length: 2 }, () => [new Array(100).fill("x".repeat(1000))]), []),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ [\n+   [\n+     [\n" +
    `+       '${"x".repeat(1000)}',\n`.repeat(100) + "+     ],\n+   ],\n+   [Array],\n+ ]\n- []"],
  ["deepEqual shows a function's own properties", () => assert.deepEqual(Object.assign(function f() {}, { x: 1 }), 1),
    "Expected values to be deep-equal:\n\n  actual:   [Function: f] { x: 1 }\n  expected: 1"],
  ["deepEqual shows an error's own properties, without its stack",
    () => assert.deepEqual(Object.assign(new TypeError("a"), { code: "E1" }), Object.assign(new TypeError("a"), { code: "E2" })),
    "Expected values to be deep-equal:\n+ actual - expected\n\n  [TypeError: a] {\n+   code: 'E1',\n-   code: 'E2',\n  }"],
  ["deepEqual lists a Map's object key over lines", () => assert.deepEqual(new Map([[{ k: 1 }, 2]]), new Map()),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ Map(1) {\n+   {\n+     k: 1,\n+   } => 2,\n+ }\n- Map(0) {}"],
  ["deepEqual quotes keys that are no identifier", () => assert.deepEqual({ $x: 1, "a-b": 2 }, {}),
    "Expected values to be deep-equal:\n+ actual - expected\n\n+ {\n+   '$x': 1,\n+   'a-b': 2,\n+ }\n- {}"],
  ["notEqual shows a proxy's target, running no trap",
    () => { const proxy = new Proxy({ a: 1 }, { get() { throw new Error("trap"); } }); assert.notEqual(proxy, proxy); },
    "Expected values to differ, but both are: { a: 1 }"],
  ["notEqual names a value whose printing throws",
    () => { const odd = { get [Symbol.toStringTag]() { throw new Error("tag"); } }; assert.notEqual(odd, odd); },
    "Expected values to differ, but both are: [a value that cannot be shown]"],
  ["deepEqual says when the listings read the same",
    () => assert.deepEqual(new (class Same {})(), new (class Same {})()),
    "Expected values to be deep-equal; they read the same but differ where a listing cannot show it" +
    " (such as two classes of one name):\n\nSame {}"],
  ["deepEqual of simple values shows both", () => assert.deepEqual(1, 2),
    "Expected values to be deep-equal:\n\n  actual:   1\n  expected: 2"],
  ["notDeepEqual passes different structures", () => assert.notDeepEqual({ a: [1] }, { a: [2] }), null],
  ["notDeepEqual refuses equal structures", () => assert.notDeepEqual({ a: [1] }, { a: [1] }),
    "Expected values not to be deep-equal, but both are:\n\n{\n  a: [\n    1,\n  ],\n}"],
  ["a message of the caller's replaces the message", () => assert.equal(1, 2, "one is not two"), "one is not two"],
  ["throws passes what throws", () => assert.throws(() => { throw new Error("boom"); }), null],
  ["throws passes a class", () => assert.throws(() => { throw new TypeError("boom"); }, TypeError), null],
  ["throws passes a pattern of the error's text", () => assert.throws(() => { throw new Error("boom"); }, /^Error: bo+m$/), null],
  ["throws passes a check that answers true", () => assert.throws(() => { throw 7; }, (e) => e === 7), null],
  ["throws passes properties, patterns among them",
    () => assert.throws(() => { throw new RangeError("boom"); }, { name: "RangeError", message: /oo/ }), null],
  ["throws refuses what does not throw", () => assert.throws(() => {}), "Missing expected exception."],
  ["throws names the class it missed", () => assert.throws(() => {}, TypeError), "Missing expected exception (TypeError)."],
  ["throws takes a text as the message", () => assert.throws(() => {}, "should throw"), "should throw"],
  ["throws refuses another class", () => assert.throws(() => { throw new Error("boom"); }, TypeError),
    "The error is expected to be an instance of TypeError, got: [Error: boom]"],
  ["throws refuses a text that does not match", () => assert.throws(() => { throw new Error("boom"); }, /bang/),
    "The error did not match the regular expression /bang/:\n\n  actual: 'Error: boom'"],
  ["throws refuses a check that answers false", () => assert.throws(() => { throw new Error("boom"); }, () => false),
    "The validation function is expected to return true; it returned false for the error: [Error: boom]"],
  ["throws diffs the properties expected", () => assert.throws(() => { throw new Error("boom"); }, { message: "bang", name: "Error" }),
    "The error differs from the expected one:\n+ actual - expected\n\n  {\n+   message: 'boom',\n-   message: 'bang',\n    name: 'Error',\n  }"],
  ["throws wants an object for properties", () => assert.throws(() => { throw "text"; }, { message: "x" }),
    "The error is expected to be an object with message, got: 'text'"],
  ["match passes a matching text", () => assert.match("abc", /b/), null],
  ["match refuses a text that does not match", () => assert.match("abc", /x/),
    "The input did not match the regular expression /x/:\n\n  actual: 'abc'"],
  ["match refuses what is no text", () => assert.match(5, /x/), "Expected a string to match /x/, got: 5"],
  ["fail fails", () => assert.fail(), "Failed"],
  ["fail takes a message", () => assert.fail("because"), "because"],
];

// What fn throws; undefined when it returns.
function thrownBy(fn) {
  try {
    fn();
  } catch (error) {
    return error;
  }
}

for (const [name, run, message] of rows) {
  test(name, () => {
    const thrown = thrownBy(run);
    if (message === null) {
      if (thrown !== undefined) throw new Error("expected to pass; threw " + String(thrown));
      return;
    }
    if (!(thrown instanceof assert.AssertionError)) throw new Error("expected an AssertionError; got " + String(thrown));
    if (thrown.message !== message) {
      throw new Error("message:\n" + JSON.stringify(thrown.message) + "\nexpected:\n" + JSON.stringify(message));
    }
  });
}

// What else a failure carries, and the misuse that is a TypeError.
/** @type {[string, () => unknown, unknown][]} */
const properties = [
  ["an AssertionError's fields", () => {
    const error = thrownBy(() => assert.equal(1, 2));
    return [error.name, error.code, error.actual, error.expected, error.operator, error.generatedMessage];
  }, ["AssertionError", "ERR_ASSERTION", 1, 2, "equal", true]],
  ["a caller's message is not generated", () => {
    const error = thrownBy(() => assert.ok(false, "mine"));
    return [error.message, error.generatedMessage];
  }, ["mine", false]],
  ["the stack begins where assert was called", () => {
    const error = thrownBy(() => assert.equal(1, 2));
    return /^\s+at .*assert\.test\.js:\d+:\d+\)?$/.test(error.stack.split("\n").find((line) => line.includes(" at ")));
  }, true],
  ["an Error given as the message is thrown as it is", () => {
    const mine = new RangeError("mine");
    return thrownBy(() => assert.equal(1, 2, mine)) === mine;
  }, true],
  ["AssertionError can be made by hand", () => {
    const error = new assert.AssertionError({ message: "by hand", actual: 1, expected: 2, operator: "custom" });
    return [error instanceof Error, error.message, error.operator, error.generatedMessage];
  }, [true, "by hand", "custom", false]],
];

// Misuse of assert is a TypeError, not a failed assertion.
/** @type {[string, () => void, string][]} */
const misuse = [
  ["throws wants a function", () => assert.throws(5), "assert.throws: the first argument must be a function"],
  ["throws wants a usable expectation", () => assert.throws(() => { throw 1; }, 5),
    "assert.throws: the expected error must be a class, a RegExp, a function or an object"],
  ["match wants a RegExp", () => assert.match("abc", "b"), "assert.match: the second argument must be a RegExp"],
];
for (const [name, run, message] of misuse) {
  properties.push([name, () => {
    const error = thrownBy(run);
    return [error.constructor.name, error.message];
  }, ["TypeError", message]]);
}

for (const [name, run, expected] of properties) {
  test(name, () => {
    const got = JSON.stringify(run());
    if (got !== JSON.stringify(expected)) throw new Error("got " + got + ", expected " + JSON.stringify(expected));
  });
}

// rejects settles: each row is what it is given and how it ends, "fulfilled"
// or "rejected: " and the error's constructor and message.
/** @type {[string, () => Promise<void>, string][]} */
const rejections = [
  ["a rejected promise", () => assert.rejects(Promise.reject(new Error("no"))), "fulfilled"],
  ["a function whose promise rejects as expected", () => assert.rejects(async () => { throw new TypeError("no"); }, TypeError), "fulfilled"],
  ["a fulfilled promise", () => assert.rejects(Promise.resolve(1)), "rejected: AssertionError Missing expected rejection."],
  ["a rejection of another class", () => assert.rejects(Promise.reject(new Error("no")), TypeError),
    "rejected: AssertionError The rejection is expected to be an instance of TypeError, got: [Error: no]"],
  ["a function that returns no promise", () => assert.rejects(() => 5),
    "rejected: TypeError assert.rejects: the function must return a promise, not 5"],
  ["no promise at all", () => assert.rejects(5),
    "rejected: TypeError assert.rejects: the first argument must be a promise or a function that returns one"],
];

for (const [name, run, expected] of rejections) {
  test("rejects: " + name, async () => {
    const got = await run().then(() => "fulfilled", (error) => "rejected: " + error.constructor.name + " " + error.message);
    if (got !== expected) throw new Error("got " + got + ", expected " + expected);
  });
}
