// The globals that `kite test` gives test files (*.test.js), for editors and
// for `tsc --checkJs` (scripts/check-types.sh uses it for *.test.js only).
// docs/script-api.md tells the whole story.

/** A test's or hook's body: done when it returns, or when the promise it returns settles. */
type KiteTestBody = () => void | PromiseLike<unknown>;

/** How a test runs. */
interface KiteTestOptions {
  /**
   * `true`: the `Tether` objects, timers, intervals, afterIdle calls and media descriptions that the test
   * leaves behind stay for the file's later tests, instead of failing it (objects) and being cleaned up.
   */
  leaks?: boolean;
}

interface KiteTestFunction {
  /** Declares a test; the tests of a file run one after another, in the order declared, each starting clean. */
  (name: string, fn: KiteTestBody): void;
  (name: string, options: KiteTestOptions, fn: KiteTestBody): void;
  /** Declares a test that is reported as skipped and not run. */
  skip(name: string, fn: KiteTestBody): void;
  skip(name: string, options: KiteTestOptions, fn: KiteTestBody): void;
  /** Declares a test that runs while the file's tests without `.only` are skipped. */
  only(name: string, fn: KiteTestBody): void;
  only(name: string, options: KiteTestOptions, fn: KiteTestBody): void;
}

interface KiteDescribeFunction {
  /** Declares a suite: `fn` declares its tests and hooks at once (it must not be async). */
  (name: string, fn: () => undefined): void;
  /** A suite whose tests are all skipped. */
  skip(name: string, fn: () => undefined): void;
  /** A suite whose tests all run while the file's tests without `.only` are skipped. */
  only(name: string, fn: () => undefined): void;
}

declare const test: KiteTestFunction;
/** The same function as `test`. */
declare const it: KiteTestFunction;
declare const describe: KiteDescribeFunction;
/** Runs once before the tests of the suite (or of the file) it is declared in. */
declare function before(fn: KiteTestBody): void;
/** Runs once after the tests of the suite (or of the file) it is declared in. */
declare function after(fn: KiteTestBody): void;
/** Runs before each test of the suite it is declared in and of the suites inside it. */
declare function beforeEach(fn: KiteTestBody): void;
/** Runs after each test of the suite it is declared in and of the suites inside it. */
declare function afterEach(fn: KiteTestBody): void;

/** What `throws` and `rejects` expect of the error: a class, a pattern of `String(error)`, a check, or properties. */
type KiteErrorExpectation = (abstract new (...args: any[]) => unknown) | RegExp | ((error: any) => boolean) | object;

/**
 * Assertions in the manner of Node's `node:assert/strict`: a failed one
 * throws an `assert.AssertionError`. `message`, when given, replaces the
 * message (an Error is thrown as it is).
 */
declare function assert(value: unknown, message?: string | Error): asserts value;
declare namespace assert {
  /** Fails unless `value` is truthy. */
  function ok(value: unknown, message?: string | Error): asserts value;
  /** Fails unless `Object.is(actual, expected)`. */
  function equal<T>(actual: unknown, expected: T, message?: string | Error): asserts actual is T;
  /** Fails when `Object.is(actual, expected)`. */
  function notEqual(actual: unknown, expected: unknown, message?: string | Error): void;
  /** Fails unless the values have the same structure: prototypes, own enumerable properties, contents. */
  function deepEqual<T>(actual: unknown, expected: T, message?: string | Error): asserts actual is T;
  /** Fails when the values are deep-equal. */
  function notDeepEqual(actual: unknown, expected: unknown, message?: string | Error): void;
  /** Fails unless `fn` throws, and throws what `expected` describes. */
  function throws(fn: () => unknown, expected?: KiteErrorExpectation, message?: string | Error): void;
  function throws(fn: () => unknown, message: string): void;
  /** Settles once the promise (or the one `fn` returns) rejects as `expected` describes; rejects otherwise. */
  function rejects(promise: PromiseLike<unknown> | (() => PromiseLike<unknown>), expected?: KiteErrorExpectation,
                   message?: string | Error): Promise<void>;
  function rejects(promise: PromiseLike<unknown> | (() => PromiseLike<unknown>), message: string): Promise<void>;
  /** Fails unless `value` is a string that `regexp` matches. */
  function match(value: string, regexp: RegExp, message?: string | Error): void;
  /** Fails always: "Failed", or the message. */
  function fail(message?: string | Error): never;

  class AssertionError extends Error {
    constructor(options: { message?: string; actual?: unknown; expected?: unknown; operator?: string });
    readonly code: "ERR_ASSERTION";
    actual: unknown;
    expected: unknown;
    operator: string | undefined;
    /** False when the caller gave the message. */
    generatedMessage: boolean;
  }
}
