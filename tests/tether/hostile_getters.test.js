// Argument objects whose properties throw when read (getters, proxy traps):
// the method call ends with the script's own exception, the adapter is not
// called, no result reaches the script and the log shows nothing after the
// lines written before the read.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");
kite.load("../../fuzz/script/model.js");

// Every method that reads argument properties, with each property it reads
// (argument index, key), in reading order, and its lines before the first
// read. A read that throws comes after the reads before it.
const READERS = FuzzModel.METHOD_NAMES.filter((name) => FuzzModel.METHODS[name].reads).map((name) => {
  const { func, reads, countLine } = FuzzModel.METHODS[name];
  const before = ["3 Handle" + func + " ENTER!!!", "3 " + func + " ENTER!!!"];
  if (countLine) before.push("4 " + func + " param length is 2");
  return [name, reads.map(([index, key]) => [index, key]), before];
});

// Two argument objects whose property `key` of argument `index` is read
// through makeThrower(); the others hold plain values.
function argumentsThrowingAt(index, key, makeThrower) {
  return [0, 1].map((i) => (i === index ? makeThrower(key) : { param_other: 1 }));
}

// The proxy notes every key read from it in seen.
const THROWERS = {
  getter: (key, thrown) => Object.defineProperty({}, key, { get() { throw thrown; } }),
  "proxy get trap": (key, thrown, seen) =>
    new Proxy({}, { get(target, name) { seen.push(name); if (name === key) throw thrown; return undefined; } }),
};

// The call's outcome: what it threw (the marker itself), or what it answered.
function outcome(fn) {
  try {
    return { answered: fn() };
  } catch (e) {
    return { threw: e };
  }
}

check("a throwing read ends the call with the script's exception and calls nothing", () => {
  for (const [method, reads, before] of READERS) {
    for (const [kind, makeThrower] of Object.entries(THROWERS)) {
      for (const [index, key] of reads) {
        const order = reads.filter(([i]) => i === index).map(([, k]) => k);
        const { player, newCalls } = newPlayer();
        newCalls();
        // Not only Errors: any value a script throws comes back as it is.
        for (const thrown of [new RangeError(key), Symbol(key), undefined, { key }]) {
          const what = method + " " + kind + " " + key + " " + String(thrown && thrown.toString());
          let result;
          const seen = [];
          const lines = logOf(() => {
            result = outcome(() => player[method](...argumentsThrowingAt(index, key, (k) => makeThrower(k, thrown, seen))));
          });
          if (kind === "proxy get trap")
            assertEqual(seen, order.slice(0, order.indexOf(key) + 1), what + ": the reads before, in order");
          assertTrue("threw" in result, what + ": threw");
          assertTrue(result.threw === thrown, what + ": the script's own value");
          assertEqual(lines, before, what + ": log");
          assertEqual(newCalls(), [], what + ": adapter calls");
        }
        // The object is unharmed.
        assertEqual(player.player_get_player_state(), { return_ecode: 0, return_type: 1, return_data: 5 });
        kite.destroy(player);
      }
    }
  }
});

done();
