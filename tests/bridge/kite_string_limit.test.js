// Texts at V8's string limit, between a plug-in and the script: what fits
// crosses whole both ways, however many bytes its UTF-8 takes; what does not
// throws a RangeError. Builds strings of hundreds of megabytes, one at a time.
kite.load("../support/lib/assert.js");

const probe = new Probe();
const LIMIT = probe.stringLimit();
const TOO_LONG = "Invalid string length: a text over the script engine's limit of " + LIMIT + " characters";

// [what, the call, the length that arrives or the RangeError's message]
const ROWS = [
  // One two-byte character: the limit in characters, one byte over in UTF-8.
  ["a script text at the limit, to C++ and back", () => probe.textOf("\u00e9" + "a".repeat(LIMIT - 1)), LIMIT],
  ["a native ASCII text one over", () => probe.longText(LIMIT + 1, "a"), TOO_LONG],
  ["a native UTF-8 text one over, made in pieces", () => probe.longText(LIMIT, "a", "\u00e9"), TOO_LONG],
];

check("a text crosses whole up to the limit and throws a RangeError beyond it", () => {
  for (const [what, call, answer] of ROWS) {
    if (typeof answer === "number") {
      const text = call();
      assertTrue(text.length === answer && text[0] === "\u00e9" && text[answer - 1] === "a", what);
    } else {
      const error = assertThrows(call, answer, what);
      assertTrue(error instanceof RangeError, what + ": a RangeError");
    }
    kite.gc();
  }
});

done();
