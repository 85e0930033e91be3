// Random numbers from a seed, and random script values of every kind, for
// the script-level fuzzer. kite.load("random.js") defines FuzzRandom.
(function (global) {
  // sfc32 seeded through splitmix32: the same sequence on every machine.
  function splitmix32(seed) {
    let state = seed >>> 0;
    return function () {
      state = (state + 0x9e3779b9) | 0;
      let z = state;
      z = Math.imul(z ^ (z >>> 16), 0x85ebca6b);
      z = Math.imul(z ^ (z >>> 13), 0xc2b2ae35);
      return (z ^ (z >>> 16)) >>> 0;
    };
  }

  class CRandom {
    constructor(seed) {
      const next = splitmix32(seed);
      this.a = next();
      this.b = next();
      this.c = next();
      this.d = next();
    }

    next() {
      let t = (this.a + this.b) | 0;
      this.a = this.b ^ (this.b >>> 9);
      this.b = (this.c + (this.c << 3)) | 0;
      this.c = (this.c << 21) | (this.c >>> 11);
      this.d = (this.d + 1) | 0;
      t = (t + this.d) | 0;
      this.c = (this.c + t) | 0;
      return t >>> 0;
    }

    // 0 to n - 1.
    int(n) {
      return n <= 1 ? 0 : this.next() % n;
    }

    chance(p) {
      return this.next() < p * 4294967296;
    }

    pick(array) {
      return array[this.int(array.length)];
    }

    // table: [[weight, value], ...]
    weighted(table) {
      let total = 0;
      for (const [weight] of table) total += weight;
      let n = this.int(total);
      for (const [weight, value] of table) {
        if (n < weight) return value;
        n -= weight;
      }
      return table[table.length - 1][1];
    }
  }

  const EDGE_NUMBERS = [
    NaN, Infinity, -Infinity, -0, 0, 0.5, -0.5, 0.9, -0.9, 1, -1, 250.9, -30.5, 2 ** 31 - 1, 2 ** 31, -(2 ** 31),
    -(2 ** 31) - 1, 2 ** 32, 2 ** 53, 2 ** 53 + 2, -(2 ** 53), -(2 ** 63), 2 ** 64, 1e308, -1e308,
    Number.MAX_VALUE, Number.MIN_VALUE, -Number.MIN_VALUE, Number.EPSILON,
  ];
  const EDGE_INT32 = [0, 1, -1, 100, 2147483647, -2147483648, 255, 256, 65, 127, 128, 0xc3, 0xed, 0x7fffff00];

  // Pieces of hostile text: zero bytes, lone and paired surrogates, quotes,
  // controls, format directives, the separators of the event texts.
  const ATOMS = [
    "a", "Z", "0", " ", "\"", "\\", "\0", "\x01", "\n", "\x1f", "\x7f", "\u00e9", "\u4e2d", "\ud800", "\udbff",
    "\udc00", "\udfff", "\ud83d\ude00", "\ufffd", "\uffff", ",", ";", "|", ":", "%s", "%n", "%d", "http://x/",
  ];

  function atoms(r, count) {
    let text = "";
    for (let i = 0; i < count; i++) text += r.pick(ATOMS);
    return text;
  }

  function string(r) {
    switch (r.weighted([[10, "empty"], [60, "short"], [4, "long"], [1, "huge"]])) {
      case "empty":
        return "";
      case "short":
        return atoms(r, 1 + r.int(12));
      case "long":
        return atoms(r, 1 + r.int(8)).repeat(100 + r.int(2000));
      default:
        // Megabytes, rarely: every copy of it stays in the simulated
        // player's record of calls until the run ends.
        if (!r.chance(0.05)) return atoms(r, 4);
        return atoms(r, 4).repeat(250000 + r.int(500000));
    }
  }

  function number(r) {
    switch (r.int(3)) {
      case 0:
        return r.pick(EDGE_NUMBERS);
      case 1:
        return r.int(2001) - 1000;
      default:
        return (r.next() / 4294967296 - 0.5) * 2 ** r.int(70);
    }
  }

  function int32(r) {
    return r.chance(0.5) ? r.pick(EDGE_INT32) * (r.chance(0.5) ? 1 : -1) | 0 : (r.next() | 0);
  }

  function bigint(r) {
    return r.pick([0n, 1n, -1n, 2n ** 64n, -(2n ** 100n), BigInt(r.int(1000))]);
  }

  // Callable values of every kind.
  function callable(r) {
    const pick = r.int(9);
    return [
      () => function () {}, () => () => 1, () => class {}, () => async () => 1, () => function* () {},
      () => Math.max, () => (() => 1).bind(null), () => new Proxy(function () {}, {}), () => Date,
    ][pick]();
  }

  // Any value at all; objects carry no param_ properties (see the fuzzer's
  // argument objects for those). someObject() may add one of the script's
  // own live objects.
  function anyValue(r, someObject) {
    switch (r.int(22)) {
      case 0: return string(r);
      case 1: return number(r);
      case 2: return r.chance(0.5);
      case 3: return null;
      case 4: return undefined;
      case 5: return Symbol(atoms(r, 2));
      case 6: return bigint(r);
      case 7: return callable(r);
      case 8: return [string(r), number(r)];
      case 9: return { x: number(r) };
      case 10: return Object.freeze({ y: string(r) });
      case 11: return Object.create(null);
      case 12: return new Proxy({}, {});
      case 13: return new Number(number(r));
      case 14: return new String(string(r));
      case 15: return new Date(0);
      case 16: return /re/g;
      case 17: return new Map();
      case 18: return someObject ? someObject() : {};
      case 19: return int32(r);
      case 20: return Object.seal([]);
      default: return new Error("value");
    }
  }

  global.FuzzRandom = { CRandom, string, number, int32, bigint, callable, anyValue };
})(globalThis);
