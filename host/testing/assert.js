// The assert global of test files, in the manner of node:assert/strict:
// values compare with Object.is, objects by their structure and prototype.
(function (shared) {
  "use strict";
  const { inspect, lines, diff } = shared.format;

  // The message an assertion made itself, kept when the caller gave one.
  const DETAILS = Symbol("details");

  class AssertionError extends Error {
    constructor(options) {
      const settings = options !== null && typeof options === "object" ? options : {};
      const generated = settings.message === undefined;
      super(generated ? String(settings.generated !== undefined ? settings.generated : "Failed") : String(settings.message));
      this.code = "ERR_ASSERTION";
      this.actual = settings.actual;
      this.expected = settings.expected;
      this.operator = settings.operator;
      this.generatedMessage = generated;
      if (!generated && settings.generated !== undefined) {
        Object.defineProperty(this, DETAILS, { value: String(settings.generated) });
      }
      if (typeof settings.stackStartFn === "function") Error.captureStackTrace(this, settings.stackStartFn);
    }
  }
  AssertionError.prototype.name = "AssertionError";

  // Throws for the assertion `fn`: the caller's Error as it is, else an
  // AssertionError whose stack begins where `fn` was called.
  function raise(fn, message, generated, details) {
    if (message instanceof Error) throw message;
    throw new AssertionError(Object.assign({ message, generated, stackStartFn: fn }, details));
  }

  const isObject = (value) => value !== null && (typeof value === "object" || typeof value === "function");

  function sameEntries(a, b, pairs) {
    const keysA = ownEnumerableKeys(a);
    const keysB = ownEnumerableKeys(b);
    if (keysA.length !== keysB.length) return false;
    return keysA.every((key) => Object.prototype.propertyIsEnumerable.call(b, key) && equalIn(a[key], b[key], pairs));
  }

  function ownEnumerableKeys(value) {
    return Reflect.ownKeys(value).filter((key) => Object.prototype.propertyIsEnumerable.call(value, key));
  }

  // An element of `values` deep-equal to `wanted` that `used` does not hold yet.
  function takeEqual(values, wanted, used, pairs) {
    for (const candidate of values) {
      if (!used.has(candidate) && equalIn(candidate, wanted, pairs)) {
        used.add(candidate);
        return true;
      }
    }
    return false;
  }

  function sameMaps(a, b, pairs) {
    if (a.size !== b.size) return false;
    const used = new Set();
    for (const [key, value] of a) {
      if (!isObject(key)) {
        if (!b.has(key) || !equalIn(value, b.get(key), pairs)) return false;
        continue;
      }
      const match = [...b].find(([otherKey, other]) => !used.has(otherKey) && isObject(otherKey) &&
        equalIn(key, otherKey, pairs) && equalIn(value, other, pairs));
      if (match === undefined) return false;
      used.add(match[0]);
    }
    return true;
  }

  function sameSets(a, b, pairs) {
    if (a.size !== b.size) return false;
    const used = new Set();
    const objects = [...b].filter(isObject);
    for (const value of a) {
      if (isObject(value) ? !takeEqual(objects, value, used, pairs) : !b.has(value)) return false;
    }
    return true;
  }

  // Deep equality: the same prototype, the same own enumerable properties
  // deep-equal, and the same contents for what keeps its own (dates,
  // regular expressions, boxed values, errors, maps, sets, typed arrays).
  // pairs holds the comparisons under way, so that cycles end.
  function equalIn(a, b, pairs) {
    if (Object.is(a, b)) return true;
    if (!isObject(a) || !isObject(b) || typeof a === "function" || typeof b === "function") return false;
    if (Object.getPrototypeOf(a) !== Object.getPrototypeOf(b)) return false;
    const tag = Object.prototype.toString.call(a);
    if (tag !== Object.prototype.toString.call(b)) return false;
    let under = pairs.get(a);
    if (under !== undefined && under.has(b)) return true;
    if (under === undefined) pairs.set(a, (under = new Set()));
    under.add(b);
    try {
      switch (tag) {
        case "[object Date]":
          if (!Object.is(Date.prototype.getTime.call(a), Date.prototype.getTime.call(b))) return false;
          break;
        case "[object RegExp]":
          if (String(a) !== String(b) || a.lastIndex !== b.lastIndex) return false;
          break;
        case "[object Number]": case "[object String]": case "[object Boolean]": case "[object BigInt]": case "[object Symbol]":
          if (!Object.is(a.valueOf(), b.valueOf())) return false;
          break;
        case "[object Error]":
          if (a.name !== b.name || a.message !== b.message) return false;
          break;
        case "[object Map]":
          if (!sameMaps(a, b, pairs)) return false;
          break;
        case "[object Set]":
          if (!sameSets(a, b, pairs)) return false;
          break;
        case "[object Array]":
          if (a.length !== b.length) return false;
          break;
      }
      if (ArrayBuffer.isView(a) && !(a instanceof DataView)) {
        if (a.length !== b.length || !Array.prototype.every.call(a, (value, i) => Object.is(value, b[i]))) return false;
      }
      return sameEntries(a, b, pairs);
    } finally {
      under.delete(b);
    }
  }

  function isDeepEqual(a, b) {
    return equalIn(a, b, new Map());
  }

  // The title, then the two values: labelled when they are simple, as a diff
  // of their listings when either is an object or a text of several lines.
  function comparison(title, actual, expected) {
    let actualLines = null;
    let expectedLines = null;
    if (isObject(actual) && typeof actual !== "function" || isObject(expected) && typeof expected !== "function") {
      actualLines = lines(actual);
      expectedLines = lines(expected);
    } else if (typeof actual === "string" && typeof expected === "string" && (actual + expected).includes("\n")) {
      actualLines = actual.split("\n");
      expectedLines = expected.split("\n");
    }
    if (actualLines !== null) {
      const changes = diff(actualLines, expectedLines);
      if (changes.length > 0) return title + ":\n+ actual - expected\n\n" + changes.join("\n");
      return title + "; they read the same but differ where a listing cannot show it" +
        " (such as two classes of one name):\n\n" + actualLines.join("\n");
    }
    return title + ":\n\n  actual:   " + inspect(actual) + "\n  expected: " + inspect(expected);
  }

  function assert(value, message) {
    if (!value) raise(assert, message, "Expected a truthy value, got: " + inspect(value), { actual: value, expected: true, operator: "ok" });
  }

  function ok(value, message) {
    if (!value) raise(ok, message, "Expected a truthy value, got: " + inspect(value), { actual: value, expected: true, operator: "ok" });
  }

  function equal(actual, expected, message) {
    if (Object.is(actual, expected)) return;
    const details = { actual, expected, operator: "equal" };
    if (isObject(actual) && isObject(expected) && isDeepEqual(actual, expected)) {
      raise(equal, message, "Expected the same object; these have the same structure but are different objects:\n\n" +
        lines(actual).join("\n"), details);
    }
    raise(equal, message, comparison("Expected values to be strictly equal", actual, expected), details);
  }

  function notEqual(actual, expected, message) {
    if (!Object.is(actual, expected)) return;
    raise(notEqual, message, "Expected values to differ, but both are: " + inspect(actual), { actual, expected, operator: "notEqual" });
  }

  function deepEqual(actual, expected, message) {
    if (isDeepEqual(actual, expected)) return;
    raise(deepEqual, message, comparison("Expected values to be deep-equal", actual, expected), { actual, expected, operator: "deepEqual" });
  }

  function notDeepEqual(actual, expected, message) {
    if (!isDeepEqual(actual, expected)) return;
    raise(notDeepEqual, message, "Expected values not to be deep-equal, but both are:\n\n" + lines(actual).join("\n"),
      { actual, expected, operator: "notDeepEqual" });
  }

  const isClass = (fn) => fn === Error || Error.isPrototypeOf(fn);

  // Whether `error` is what `expected` describes: a class (instanceof), a
  // regular expression (over String(error)), a function that answers true,
  // or an object whose properties the error has (deep-equal, or matching
  // where the object's value is a regular expression and the error's a text).
  function checkError(fn, what, error, expected, message) {
    if (expected === undefined) return;
    const details = { actual: error, expected, operator: fn.name };
    if (expected instanceof RegExp) {
      let text;
      try {
        text = String(error);
      } catch (e) {
        text = inspect(error);
      }
      if (!new RegExp(expected.source, expected.flags.replace(/[gy]/g, "")).test(text)) {
        raise(fn, message, "The " + what + " did not match the regular expression " + expected + ":\n\n  actual: " +
          inspect(text), details);
      }
      return;
    }
    if (typeof expected === "function") {
      if (expected.prototype !== undefined && isObject(error) && error instanceof expected) return;
      if (isClass(expected)) {
        raise(fn, message, "The " + what + " is expected to be an instance of " + expected.name + ", got: " + inspect(error), details);
      }
      const verdict = expected.call(undefined, error);
      if (verdict !== true) {
        raise(fn, message, "The validation function is expected to return true; it returned " + inspect(verdict) +
          " for the " + what + ": " + inspect(error), details);
      }
      return;
    }
    if (!isObject(expected)) {
      throw new TypeError("assert." + fn.name + ": the expected " + what + " must be a class, a RegExp, a function or an object");
    }
    const keys = Object.keys(expected);
    if (expected instanceof Error) keys.push("name", "message");
    if (!isObject(error)) {
      raise(fn, message, "The " + what + " is expected to be an object with " + keys.join(", ") + ", got: " + inspect(error), details);
    }
    const picked = {};
    const wanted = {};
    let same = true;
    for (const key of keys) {
      const value = error[key];
      const want = expected[key];
      picked[key] = value;
      wanted[key] = want;
      if (want instanceof RegExp && typeof value === "string" ? !want.test(value) : !isDeepEqual(value, want)) same = false;
    }
    if (!same) raise(fn, message, comparison("The " + what + " differs from the expected one", picked, wanted), details);
  }

  function throws(fn, expected, message) {
    if (typeof fn !== "function") throw new TypeError("assert.throws: the first argument must be a function");
    if (typeof expected === "string" && message === undefined) {
      message = expected;
      expected = undefined;
    }
    try {
      fn();
    } catch (error) {
      checkError(throws, "error", error, expected, message);
      return;
    }
    const name = typeof expected === "function" && isClass(expected) ? " (" + expected.name + ")" : "";
    raise(throws, message, "Missing expected exception" + name + ".", { actual: undefined, expected, operator: "throws" });
  }

  function isThenable(value) {
    return isObject(value) && typeof value.then === "function";
  }

  async function awaitRejection(promise, expected, message, site) {
    try {
      await promise;
    } catch (error) {
      try {
        checkError(rejects, "rejection", error, expected, message);
      } catch (failure) {
        throw relocated(failure, site);
      }
      return;
    }
    const name = typeof expected === "function" && isClass(expected) ? " (" + expected.name + ")" : "";
    try {
      raise(rejects, message, "Missing expected rejection" + name + ".", { actual: undefined, expected, operator: "rejects" });
    } catch (failure) {
      throw relocated(failure, site);
    }
  }

  // An assertion that fails after an await points where rejects was called.
  function relocated(failure, site) {
    if (failure instanceof AssertionError && typeof site.stack === "string") {
      failure.stack = failure.name + ": " + failure.message + site.stack.slice(site.stack.indexOf("\n"));
    }
    return failure;
  }

  function rejects(target, expected, message) {
    const site = new Error("site");
    Error.captureStackTrace(site, rejects);
    if (typeof expected === "string" && message === undefined) {
      message = expected;
      expected = undefined;
    }
    let promise = target;
    if (typeof target === "function") {
      try {
        promise = target();
      } catch (error) {
        return Promise.reject(error);
      }
      if (!isThenable(promise)) {
        return Promise.reject(new TypeError("assert.rejects: the function must return a promise, not " + inspect(promise)));
      }
    } else if (!isThenable(target)) {
      return Promise.reject(new TypeError("assert.rejects: the first argument must be a promise or a function that returns one"));
    }
    return awaitRejection(promise, expected, message, site);
  }

  function match(value, regexp, message) {
    if (!(regexp instanceof RegExp)) throw new TypeError("assert.match: the second argument must be a RegExp");
    if (typeof value !== "string") {
      raise(match, message, "Expected a string to match " + regexp + ", got: " + inspect(value), { actual: value, expected: regexp, operator: "match" });
    }
    if (!new RegExp(regexp.source, regexp.flags.replace(/[gy]/g, "")).test(value)) {
      raise(match, message, "The input did not match the regular expression " + regexp + ":\n\n  actual: " + inspect(value),
        { actual: value, expected: regexp, operator: "match" });
    }
  }

  function fail(message) {
    raise(fail, message, message === undefined ? "Failed" : undefined, { operator: "fail" });
  }

  Object.assign(assert, { ok, equal, notEqual, deepEqual, notDeepEqual, throws, rejects, match, fail, AssertionError });
  shared.assert = assert;
  shared.assertDetails = DETAILS;
})
