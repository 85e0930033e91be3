// The globals that `kite` gives every script, for editors and for
// `tsc --checkJs` (scripts/check-types.sh). docs/script-api.md tells the
// whole story.

/**
 * As in Node: `log`, `info` and `debug` write one line to stdout; `warn`,
 * `error` and `trace` to stderr. The values are joined by spaces, each shown
 * as Node's `util.inspect` shows it (a string at the top level as it is); a
 * first string may hold the format specifiers %s %d %i %f %j %o %O %c %%.
 */
declare var console: {
  log(...values: unknown[]): void;
  info(...values: unknown[]): void;
  debug(...values: unknown[]): void;
  warn(...values: unknown[]): void;
  error(...values: unknown[]): void;
  /** "Trace: " and the values, then the stack, to stderr. */
  trace(...values: unknown[]): void;
  /** When `condition` is falsy, "Assertion failed: " and the values, to stderr. */
  assert(condition?: unknown, ...values: unknown[]): void;
  /** "label: N" to stdout, N being this label's calls so far. */
  count(label?: string): void;
  /** Starts the label's timer. */
  time(label?: string): void;
  /** "label: 1.234ms" to stdout: the time since `time(label)`. */
  timeEnd(label?: string): void;
};

/**
 * Calls `fn(...args)` once, `ms` milliseconds from now (0 when left out),
 * from the main loop; answers the timer's id. Timers that are due run in the
 * order of their due time, also when the loop comes late.
 */
declare function setTimeout(fn: (_: void) => void, ms?: number): number;
declare function setTimeout<A extends unknown[]>(fn: (...args: A) => void, ms: number, ...args: A): number;
/** Cancels a timer or an interval that has not run; any other value is ignored. */
declare function clearTimeout(id?: unknown): void;
/**
 * Calls `fn(...args)` every `ms` milliseconds (at least 1) from the main
 * loop until cleared; answers the interval's id. An interval keeps the run
 * going (with wall-clock time).
 */
declare function setInterval(fn: (_: void) => void, ms?: number): number;
declare function setInterval<A extends unknown[]>(fn: (...args: A) => void, ms: number, ...args: A): number;
/** Ends an interval or a timer, also from inside its own call; any other value is ignored. */
declare function clearInterval(id?: unknown): void;
/** Calls `fn` once the running code is done, before any timer, event or afterIdle call. */
declare function queueMicrotask(fn: () => void): void;

/** The run's clock. */
declare var performance: {
  /**
   * Milliseconds since the run started, with fractions: the virtual clock
   * with `kite --clock=virtual` (the same as `sim.now()`), else the wall clock.
   */
  now(): number;
};

/** The host that runs the script. */
declare namespace kite {
  /** The command-line arguments after the script's name. */
  const args: string[];
  /**
   * Ends the run now with exit status `code` (an integer from 0 to 255,
   * default 0; 1 instead of 0 when an uncaught error happened): no more
   * script, timer or event runs, and every object is destroyed.
   */
  function quit(code?: number): void;
  /**
   * Destroys a plug-in object (a `Tether` and its player) now, as the
   * garbage collector would; true when it did, false for any other object.
   */
  function destroy(object: object): boolean;
  /** A full garbage collection: plug-in objects the script cannot reach are destroyed now. */
  function gc(): void;
  /**
   * Calls `fn` from the main loop once the events queued before this call
   * are delivered; calls run in the order made, after the timers already due.
   */
  function afterIdle(fn: () => void): void;
  /** The kernel thread id of the script's thread. */
  function tid(): number;
  /**
   * For tests: runs another script file (relative to the main script's
   * folder) as one more `<script>` tag of the page, in the same global
   * scope: a top-level name that both declare fails with "Identifier '...'
   * has already been declared". Answers the file's completion value, the
   * value of its last expression statement; its exceptions come out.
   */
  function load(path: string): unknown;
  /** For tests: starts (true) or stops (false) keeping the log lines for `takeLog`. */
  function captureLog(on: boolean): void;
  /** For tests: the log lines kept so far, which it forgets. */
  function takeLog(): { priority: number; tag: string | null; text: string }[];
}
