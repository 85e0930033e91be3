// Assertions for script tests: kite.load("../support/lib/assert.js") defines them on
// the global object. A failed assertion throws, so an uncaught one ends the
// run with status 1; check() records a failure and goes on; done() prints
// the tally and ends the run, with status 1 when anything failed.
(function (global) {
  let passed = 0;
  let failed = 0;

  function show(value) {
    if (typeof value === "string") return JSON.stringify(value);
    if (typeof value === "bigint") return value + "n";
    if (typeof value === "function") return "function " + (value.name || "(anonymous)");
    if (value === undefined) return "undefined";
    try {
      const text = JSON.stringify(value, (k, v) => (typeof v === "bigint" ? v + "n" : v === undefined ? "<undefined>" : v));
      return text === undefined ? String(value) : text;
    } catch (e) {
      return String(value);
    }
  }

  function deepEqual(a, b) {
    if (Object.is(a, b)) return true;
    if (typeof a !== "object" || typeof b !== "object" || a === null || b === null) return false;
    if (Array.isArray(a) !== Array.isArray(b)) return false;
    if (Object.getPrototypeOf(a) !== Object.getPrototypeOf(b)) return false;
    const keysA = Object.keys(a);
    const keysB = Object.keys(b);
    if (keysA.length !== keysB.length) return false;
    return keysA.every((k) => Object.prototype.hasOwnProperty.call(b, k) && deepEqual(a[k], b[k]));
  }

  class AssertionError extends Error {}
  AssertionError.prototype.name = "AssertionError";

  function fail(message) {
    failed++;
    throw new AssertionError(message);
  }

  function assertTrue(value, what) {
    if (value !== true) fail((what || "assertTrue") + ": expected true, got " + show(value));
    passed++;
  }

  function assertEqual(actual, expected, what) {
    if (!deepEqual(actual, expected))
      fail((what || "assertEqual") + ": expected " + show(expected) + ", got " + show(actual));
    passed++;
  }

  // fn must throw; message, when given, is the exact message of the error.
  function assertThrows(fn, message, what) {
    let thrown = false;
    let error;
    try {
      fn();
    } catch (e) {
      thrown = true;
      error = e;
    }
    const label = what || "assertThrows";
    if (!thrown) fail(label + ": nothing was thrown, expected " + show(message));
    if (message !== undefined) {
      const actual = error instanceof Error ? error.message : error;
      if (actual !== message) fail(label + ": expected message " + show(message) + ", got " + show(actual));
    }
    passed++;
    return error;
  }

  // Runs a named group; its failure is printed and counted, the file goes on.
  function check(name, fn) {
    try {
      fn();
    } catch (e) {
      if (!(e instanceof AssertionError)) failed++;
      console.error("FAIL " + name + ": " + (e && e.stack ? e.stack : String(e)));
    }
  }

  // Rows of [name, body, expected]: body(log) runs with a fresh log, then
  // settle(), and the log must equal expected.
  function checkLogRows(rows, settle) {
    for (const [name, body, expected] of rows) {
      check(name, () => {
        const log = [];
        body((entry) => log.push(entry));
        settle();
        assertEqual(log, expected, name);
      });
    }
  }

  // Rows of [what, call, type, message]: call throws a type with message.
  function checkRefusals(rows) {
    for (const [what, call, type, message] of rows) {
      check(what, () => assertTrue(assertThrows(call, message, what) instanceof type, what + " is a " + type.name));
    }
  }

  function done() {
    console.log(passed + " passed, " + failed + " failed");
    kite.quit(failed > 0 ? 1 : 0);
  }

  Object.assign(global, { assertTrue, assertEqual, assertThrows, deepEqual, check, checkLogRows, checkRefusals, done });
})(globalThis);
