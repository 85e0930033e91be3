// The harness of one test file's run: the globals that declare tests and
// hooks, the run of the tests one after another, and the records that tell
// kite test what happened. Only the natives keep real time; the player's
// clock may be virtual.
(function (shared) {
  "use strict";
  const { natives, options } = shared;
  const { inspect } = shared.format;
  const { AssertionError } = shared.assert;
  const DETAILS = shared.assertDetails;

  function newSuite(name, parent, mode) {
    return { kind: "suite", name, parent, mode, children: [], before: [], after: [], beforeEach: [], afterEach: [] };
  }
  const root = newSuite("", null, "run");
  // The suite whose body runs now; null once the tests run.
  let declaring = root;
  let anyOnly = false;
  let filter = null;
  // Where an error belongs now: the slot of the running test or hook.
  let current = null;
  let nextId = 0;
  let finished = false;

  function refuseLate(what) {
    if (declaring === null) {
      throw new Error(what + ": tests, suites and hooks are declared at the top level of the file or in a describe body," +
        " not while the tests run");
    }
  }

  function checkDeclaration(what, name, fn) {
    if (typeof name !== "string") throw new TypeError(what + ": the name must be a string");
    if (typeof fn !== "function") throw new TypeError(what + ": the second argument must be a function");
    refuseLate(what);
    if (what.endsWith(".only")) anyOnly = true;
  }

  function declareTest(what, mode) {
    return function (name, options, fn) {
      if (options !== null && typeof options === "object") {
        checkOptions(what, options);
        if (typeof fn !== "function") throw new TypeError(what + ": the third argument must be a function");
      } else {
        fn = options;
        options = {};
      }
      checkDeclaration(what, name, fn);
      declaring.children.push({ kind: "test", name, fn, mode, parent: declaring, id: "", leaks: options.leaks === true });
    };
  }

  // test(name, { leaks: true }, fn): what the test leaves behind stays for
  // the file's later tests, as what a before hook makes does.
  function checkOptions(what, options) {
    for (const key of Object.keys(options)) {
      if (key !== "leaks") throw new TypeError(what + ": unknown option '" + key + "' (the one option is leaks)");
    }
    if (options.leaks !== undefined && typeof options.leaks !== "boolean") {
      throw new TypeError(what + ": the option leaks must be true or false");
    }
  }

  function declareSuite(what, mode) {
    return function (name, fn) {
      checkDeclaration(what, name, fn);
      const suite = newSuite(name, declaring, mode);
      declaring.children.push(suite);
      const outer = declaring;
      declaring = suite;
      try {
        const result = fn();
        if (result !== null && typeof result === "object" && typeof result.then === "function") {
          throw new TypeError(what + ": the body declares its tests at once; it must not return a promise");
        }
      } finally {
        declaring = outer;
      }
    };
  }

  function declareHook(kind) {
    return function (fn) {
      if (typeof fn !== "function") throw new TypeError(kind + ": the argument must be a function");
      refuseLate(kind);
      declaring[kind].push(fn);
    };
  }

  const test = declareTest("test", "run");
  test.skip = declareTest("test.skip", "skip");
  test.only = declareTest("test.only", "only");
  const describe = declareSuite("describe", "run");
  describe.skip = declareSuite("describe.skip", "skip");
  describe.only = declareSuite("describe.only", "only");

  function namesOf(node) {
    const names = [];
    for (let n = node; n !== root; n = n.parent) names.unshift(n.name);
    return names;
  }

  // "run", "skip", or null for a test that the filter leaves out.
  function fate(node) {
    if (filter !== null && !filter.test(namesOf(node).join(" > "))) return null;
    let skip = false;
    let only = false;
    for (let n = node; n !== root; n = n.parent) {
      skip = skip || n.mode === "skip";
      only = only || n.mode === "only";
    }
    return skip || (anyOnly && !only) ? "skip" : "run";
  }

  function willRun(node) {
    return node.kind === "test" ? fate(node) === "run" : node.children.some(willRun);
  }

  function testsUnder(node) {
    return node.kind === "test" ? [node] : node.children.flatMap(testsUnder);
  }

  const INTERNAL = /kite-test:/;

  // "at f (PATH:1:2)", "at PATH:1:2", with the path as the report shows it.
  function shownFrame(line) {
    return line
      .replace(/\(([^()]*:\d+:\d+)\)/g, (all, place) => "(" + natives.shownPath(place) + ")")
      .replace(/^(at (?:async )?)([^()]*:\d+:\d+)$/, (all, at, place) => at + natives.shownPath(place));
  }

  // An error as the report shows it: its name and message, what an
  // assertion with a message of the caller's own found, and the stack
  // frames outside the harness.
  function describeFailure(error) {
    if (error instanceof TimedOut) return "timed out after " + options.timeout + " ms";
    if (error instanceof Stalled) return error.text;
    if (error instanceof LeftAlive) return error.text;
    try {
      if (error instanceof Error || (error !== null && typeof error === "object" && typeof error.stack === "string")) {
        let text = String(error.name) + ": " + String(error.message);
        if (error instanceof AssertionError && !error.generatedMessage && typeof error[DETAILS] === "string") {
          text += "\n\n" + error[DETAILS];
        }
        const stack = typeof error.stack === "string" ? error.stack.split("\n") : [];
        const frames = stack.filter((line) => /^\s+at /.test(line));
        // The caller's frames: past the harness's own, up to the harness that called it.
        let first = 0;
        while (first < frames.length && INTERNAL.test(frames[first])) first++;
        let end = first;
        while (end < frames.length && !INTERNAL.test(frames[end])) end++;
        return [text, ...frames.slice(first, end).map((line) => "    " + shownFrame(line.trim()))].join("\n");
      }
      return "thrown: " + inspect(error);
    } catch (e) {
      return "thrown: a value that cannot be shown";
    }
  }

  class TimedOut {}

  class Stalled {
    constructor(text) {
      this.text = text;
    }
  }

  const CALL_KINDS = { timeout: "a timeout", interval: "an interval", player: "the model player's work" };

  // Why an awaiting test or hook cannot go on with virtual time, from what
  // natives.awaiting tells: the clock's reading, the next call scheduled, the
  // newest promise of the file's code still pending and a held medium.
  function stallText(stall, slot) {
    const who = slot.owner.kind === "test" ? "the test" : "the hook";
    const what = stall.where === undefined ? "its promise"
      : "the promise made at " + stall.where + (stall.line ? " (`" + stall.line + "`)" : "");
    const held = stall.held === undefined ? "" : "; a prepare waits for sim.release(" + JSON.stringify(stall.held) + ")";
    if (stall.next === undefined) {
      return "nothing is scheduled on the virtual clock" + held + "; " + who + " waits for " + what +
        ", which nothing will settle (start what it waits for, and move the clock with sim.advance(ms) before awaiting what the clock brings)";
    }
    return "nothing is scheduled on the virtual clock until " + stall.nextAt + " ms, where " + CALL_KINDS[stall.next] +
      " is due (it stands at " + stall.now + " ms)" + held + "; " + who + " waits for " + what +
      " (move the clock with sim.advance(" + Math.round((stall.nextAt - stall.now) * 1000) / 1000 + ") or sim.runUntil(condition) before awaiting what it brings)";
  }

  function fileError(what, error) {
    natives.record("error", what + describeFailure(error));
  }

  // A slot collects the failures of one test (its hooks before and after
  // each included) or of one suite's before or after hooks.
  function newSlot(owner) {
    return { owner, failures: [], open: true, described: new Set() };
  }

  function failIn(slot, error) {
    if (slot === null) {
      fileError("outside any test: ", error);
    } else if (slot.open) {
      slot.failures.push(error);
    } else if (slot.owner.kind === "test") {
      natives.record("fail", slot.owner.id, -1, "after the test had ended: " + describeFailure(error));
    } else {
      fileError(slot.owner.label + ", after it had ended: ", error);
    }
  }

  // Callbacks keep the slot of the code that queued them.
  function capture(fn) {
    const slot = current;
    return function () {
      try {
        return fn.apply(this, arguments);
      } catch (error) {
        failIn(slot, error);
      }
    };
  }

  function wrapScheduler(owner, name) {
    const original = owner !== null && typeof owner === "object" ? owner[name] : undefined;
    if (typeof original !== "function") return;
    const wrapper = function (fn, ...rest) {
      return original.call(this, typeof fn === "function" ? capture(fn) : fn, ...rest);
    };
    Object.defineProperty(wrapper, "name", { value: name });
    owner[name] = wrapper;
  }

  // Runs fn within the time limit, and with virtual time until the clock
  // stalls; answers true when it neither threw nor rejected.
  function call(fn, slot) {
    natives.record("step");
    return new Promise((resolve) => {
      let settled = false;
      let timer = 0;
      const finish = (failed, error) => {
        if (settled) {
          if (failed) failIn(slot, error);
          return;
        }
        settled = true;
        natives.cancel(timer);
        natives.awaiting();
        if (failed) slot.failures.push(error);
        resolve(!failed);
      };
      timer = natives.later(() => finish(true, new TimedOut()), options.timeout);
      natives.awaiting((stall) => finish(true, new Stalled(stallText(stall, slot))));
      current = slot;
      try {
        const result = fn.call(undefined);
        if (result !== null && typeof result === "object" && typeof result.then === "function") {
          result.then(() => finish(false), (error) => finish(true, error));
        } else {
          finish(false);
        }
      } catch (error) {
        finish(true, error);
      }
    });
  }

  // After the events and afterIdle calls already queued.
  function turn() {
    return new Promise((resolve) => natives.later(resolve, 0));
  }

  function recordSkips(node) {
    for (const t of testsUnder(node)) {
      if (fate(t) === "skip") natives.record("skip", String(nextId++), ...namesOf(t));
    }
  }

  async function runTest(t, chain) {
    t.id = String(nextId++);
    natives.record("start", t.id, ...namesOf(t));
    const started = natives.clock();
    const slot = newSlot(t);
    const objectsBefore = natives.objectsMade();
    natives.keepMedia();
    let ready = true;
    for (const suite of chain) {
      for (const hook of suite.beforeEach) {
        if (ready) ready = await call(hook, slot);
      }
    }
    if (ready) await call(t.fn, slot);
    // Events queued by now are the test's own, and so are their errors.
    await turn();
    for (const suite of [...chain].reverse()) {
      for (const hook of suite.afterEach) await call(hook, slot);
    }
    await turn();
    if (!t.leaks) cleanUpAfter(slot, objectsBefore);
    slot.open = false;
    current = null;
    const ms = String(Math.round(natives.clock() - started));
    if (slot.failures.length === 0) natives.record("pass", t.id, ms);
    else natives.record("fail", t.id, ms, slot.failures.map(describeFailure).join("\n\n"));
  }

  // The plug-in objects a test left alive, destroyed by then: the failure
  // that says where each was made.
  class LeftAlive {
    constructor(left) {
      const site = (entry) => (entry.madeAt === "" ? "where no script frame shows" : natives.shownPath(entry.madeAt));
      const them = left.length === 1 ? "it" : "them";
      this.text = (left.length === 1
        ? "left 1 " + left[0].className + " alive, made at " + site(left[0])
        : "left " + left.length + " objects alive: " + left.map((entry) => entry.className + " made at " + site(entry)).join(", ")) +
        "; destroy " + them + " with kite.destroy() in the test or an afterEach hook, or declare the test" +
        " with { leaks: true } to keep " + them + " for the file's later tests";
    }
  }

  // Timers and intervals that tests set and that have not run or been
  // cleared, by id: { slot, name, site }. afterIdle calls need no list: the
  // turns at a test's end run them.
  const pendingCalls = new Map();
  const clearPending = globalThis.clearTimeout;
  const warn = globalThis.console.error;

  // "FILE:LINE:COLUMN" of the first frame outside the harness.
  function siteOf(holder) {
    const frames = String(holder.stack).split("\n").filter((line) => /^\s+at /.test(line) && !INTERNAL.test(line));
    const found = frames.length > 0 ? /\(?([^\s()]+:\d+:\d+)\)?$/.exec(frames[0]) : null;
    return found !== null ? natives.shownPath(found[1]) : "an unknown place";
  }

  // Over the wrapper that wrapScheduler put in place: what a test schedules
  // is remembered until it runs or is cleared.
  function trackPending(name) {
    const inner = globalThis[name];
    const repeats = name === "setInterval";
    const wrapper = function (fn, ...rest) {
      const slot = current;
      if (slot === null || slot.owner.kind !== "test" || typeof fn !== "function") return inner.call(this, fn, ...rest);
      const entry = { slot, name, site: {} };
      Error.captureStackTrace(entry.site, wrapper);
      const id = inner.call(this, function () {
        if (!repeats) pendingCalls.delete(id);
        return fn.apply(this, arguments);
      }, ...rest);
      pendingCalls.set(id, entry);
      return id;
    };
    Object.defineProperty(wrapper, "name", { value: name });
    globalThis[name] = wrapper;
  }

  // The URLs a test (or its beforeEach hooks) described, to tell of when
  // they are undone.
  function trackMedia() {
    const sim = globalThis.sim;
    if (typeof sim !== "object" || sim === null || typeof sim.media !== "function") return;
    const inner = sim.media;
    const wrapper = function (url) {
      const answer = inner.apply(this, arguments);
      if (current !== null && current.owner.kind === "test") current.described.add(String(url));
      return answer;
    };
    Object.defineProperty(wrapper, "name", { value: "media" });
    sim.media = wrapper;
  }

  function trackClearing(name) {
    const inner = globalThis[name];
    const wrapper = function (id) {
      pendingCalls.delete(id);
      return inner.apply(this, arguments);
    };
    Object.defineProperty(wrapper, "name", { value: name });
    globalThis[name] = wrapper;
  }

  // What a test leaves behind goes, so that the next one starts clean. A
  // player left alive fails the test; timers left pending are only told of.
  function cleanUpAfter(slot, objectsBefore) {
    const left = natives.leftObjects(objectsBefore);
    for (const entry of left) natives.destroy(entry.object);
    if (left.length > 0) slot.failures.push(new LeftAlive(left));
    const sites = [];
    for (const [id, entry] of pendingCalls) {
      if (entry.slot !== slot) continue;
      pendingCalls.delete(id);
      clearPending(id);
      sites.push(entry.name + " at " + siteOf(entry.site));
    }
    if (sites.length > 0) {
      warn("kite test: \"" + namesOf(slot.owner).join(" > ") + "\" left " + sites.length + (sites.length === 1 ? " timer" : " timers") +
        " pending, cancelled now: " + sites.join(", "));
    }
    natives.restoreMedia();
    if (slot.described.size > 0) {
      warn("kite test: \"" + namesOf(slot.owner).join(" > ") + "\" described " + slot.described.size +
        (slot.described.size === 1 ? " medium" : " media") + ", undone now: " + [...slot.described].join(", "));
    }
  }

  async function runHooks(hooks, slot) {
    for (const hook of hooks) {
      if (!(await call(hook, slot))) break;
    }
    slot.open = false;
    current = null;
  }

  async function runSuite(suite, chain) {
    if (!willRun(suite)) {
      recordSkips(suite);
      return;
    }
    const where = suite === root ? "" : ' of "' + namesOf(suite).join(" > ") + '"';
    const before = newSlot({ kind: "hook", label: "a before hook" + where });
    await runHooks(suite.before, before);
    if (before.failures.length > 0) {
      const text = "a before hook" + where + " failed: " + before.failures.map(describeFailure).join("\n\n");
      for (const t of testsUnder(suite)) {
        const verdict = fate(t);
        if (verdict === "skip") {
          natives.record("skip", String(nextId++), ...namesOf(t));
        } else if (verdict === "run") {
          t.id = String(nextId++);
          natives.record("start", t.id, ...namesOf(t));
          natives.record("fail", t.id, "0", text);
        }
      }
    } else {
      for (const child of suite.children) {
        if (child.kind === "suite") {
          await runSuite(child, chain.concat([child]));
        } else {
          const verdict = fate(child);
          if (verdict === "run") await runTest(child, chain);
          else if (verdict === "skip") natives.record("skip", String(nextId++), ...namesOf(child));
        }
      }
    }
    const after = newSlot({ kind: "hook", label: "an after hook" + where });
    await runHooks(suite.after, after);
    for (const error of after.failures) fileError(after.owner.label + " failed: ", error);
  }

  function finish() {
    if (finished) return;
    finished = true;
    natives.record("done");
    natives.quit();
  }

  async function run() {
    declaring = null;
    if (options.filter !== undefined) {
      try {
        filter = new RegExp(options.filter);
      } catch (error) {
        natives.record("usage", "--filter: " + error.message);
        finish();
        return;
      }
    }
    try {
      await runSuite(root, [root]);
    } catch (error) {
      fileError("kite test's harness failed: ", error);
    }
    finish();
  }

  shared.harness = {
    run,
    // The file could not be compiled: the text says where and why.
    abortFile(text) {
      natives.record("error", String(text));
      finish();
    },
    // The file's top level threw.
    failFile(error) {
      fileError("", error);
      finish();
    },
    // An error that no script caught: in a callback, or a rejection.
    uncaught(error) {
      failIn(current, error);
    },
  };

  wrapScheduler(globalThis, "setTimeout");
  wrapScheduler(globalThis, "setInterval");
  wrapScheduler(globalThis, "queueMicrotask");
  wrapScheduler(globalThis.kite, "afterIdle");
  trackPending("setTimeout");
  trackPending("setInterval");
  trackMedia();
  trackClearing("clearTimeout");
  trackClearing("clearInterval");
  Object.assign(globalThis, {
    test,
    it: test,
    describe,
    before: declareHook("before"),
    after: declareHook("after"),
    beforeEach: declareHook("beforeEach"),
    afterEach: declareHook("afterEach"),
    assert: shared.assert,
  });
})
