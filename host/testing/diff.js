// Values as test reports show them, printed by the console's printer
// (natives.inspect, natives.listing), and the diff of two listings.
(function (shared) {
  "use strict";

  const { natives } = shared;
  // Above this many line pairs the diff lists both values instead of aligning them.
  const MAX_ALIGNED = 250000;
  const UNSHOWN = "[a value that cannot be shown]";

  // Script code that printing runs (a getter of Symbol.toStringTag) may throw.
  function shown(make) {
    try {
      return make();
    } catch (error) {
      return null;
    }
  }

  // A value as the console shows it.
  function inspect(value) {
    const text = shown(() => natives.inspect(value));
    return typeof text === "string" ? text : UNSHOWN;
  }

  // A value as lines, one element or property a line, each followed by a comma.
  function lines(value) {
    const text = shown(() => natives.listing(value));
    return typeof text === "string" ? text.split("\n") : [UNSHOWN];
  }

  // The steps that turn expected into actual: [" ", line] for a line of
  // both, ["+", line] for one of actual only, ["-", line] of expected only.
  function align(actual, expected) {
    const n = actual.length;
    const m = expected.length;
    if (n * m > MAX_ALIGNED) {
      return expected.map((line) => ["-", line]).concat(actual.map((line) => ["+", line]));
    }
    // common[i * (m + 1) + j]: the longest common run of actual[i..] and expected[j..].
    const common = new Int32Array((n + 1) * (m + 1));
    for (let i = n - 1; i >= 0; i--) {
      for (let j = m - 1; j >= 0; j--) {
        common[i * (m + 1) + j] = actual[i] === expected[j] ? common[(i + 1) * (m + 1) + j + 1] + 1
          : Math.max(common[(i + 1) * (m + 1) + j], common[i * (m + 1) + j + 1]);
      }
    }
    const steps = [];
    let i = 0;
    let j = 0;
    while (i < n && j < m) {
      if (actual[i] === expected[j]) {
        steps.push([" ", actual[i++]]);
        j++;
      } else if (common[(i + 1) * (m + 1) + j] >= common[i * (m + 1) + j + 1]) {
        steps.push(["+", actual[i++]]);
      } else {
        steps.push(["-", expected[j++]]);
      }
    }
    while (i < n) steps.push(["+", actual[i++]]);
    while (j < m) steps.push(["-", expected[j++]]);
    return steps;
  }

  // The lines of a diff, "+ " for actual, "- " for expected; common lines
  // further than three from a change are left out as "  ...". Empty when
  // the lines are the same.
  function diff(actual, expected) {
    const steps = align(actual, expected);
    const changed = steps.map((step) => step[0] !== " ");
    if (!changed.includes(true)) return [];
    const near = (i) => changed.slice(Math.max(0, i - 3), i + 4).includes(true);
    const out = [];
    steps.forEach((step, i) => {
      if (near(i)) out.push(step[0] + " " + step[1]);
      else if (out[out.length - 1] !== "  ...") out.push("  ...");
    });
    return out;
  }

  shared.format = { inspect, lines, diff };
})
