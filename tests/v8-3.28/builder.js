// The class builder's typed members on both V8 generations: "Shelf" of the
// bridge tests' plug-in, called as tests/bridge/kite_builder.test.js calls
// it, printing each answer or error, so that its output on one generation
// can be held against the other's. ES5, as the TV's engine runs.

function fresh() {
  var shelf = new Shelf({ name: "desk" });
  shelf.add(2, "pen");
  shelf.add(1, "ink");
  return shelf;
}
function describe(name) {
  return Object.getOwnPropertyDescriptor(Shelf.prototype, name);
}
function show(value) {
  var text = JSON.stringify(value, function (key, v) { return v === undefined ? "<undefined>" : v; });
  return text === undefined ? "undefined" : text;
}

var ROWS = [
  ["add", function (s) { return s.add(3, "pen"); }],
  ["add, extra arguments", function (s) { return s.add(1, "cup", "extra"); }],
  ["has", function (s) { return [s.has("pen"), s.has("cup")]; }],
  ["clear", function (s) { return [s.clear(), s.size]; }],
  ["items", function (s) { return s.items(); }],
  ["share", function (s) { return s.share(1.5); }],
  ["the list form", function (s) { return s.arguments(1, "two", {}); }],
  ["size, then assigned", function (s) { s.size = 9; return s.size; }],
  ["name", function (s) { s.name = "attic"; return s.name; }],
  ["onsaved", function (s) {
    var before = s.onsaved;
    var f = function (n) { return n * 10; };
    s.onsaved = f;
    return [before, s.onsaved === f, s.save()];
  }],
  ["accessors", function () {
    return [typeof describe("size").get, describe("size").set, typeof describe("name").set, describe("name").enumerable];
  }],
  ["values", function (s) { s.VERSION = "x"; return [s.VERSION, Shelf.prototype.SLOTS]; }],
  ["static members", function () { Shelf.LIMIT = 1; return [Shelf.pack("ab", 3), Shelf.twice(-8), Shelf.LIMIT, Shelf.EXACT]; }],
  ["add(1, 2)", function (s) { return s.add(1, 2); }],
  ["add(1.5, 'pen')", function (s) { return s.add(1.5, "pen"); }],
  ["add(1)", function (s) { return s.add(1); }],
  ["name = 5", function (s) { s.name = 5; }],
  ["name = ''", function (s) { s.name = ""; }],
  ["onsaved = 5", function (s) { s.onsaved = 5; }],
  ["twice(2^53)", function () { return Shelf.twice(Math.pow(2, 53)); }],
  ["twice(2^52 + 1)", function () { return Shelf.twice(Math.pow(2, 52) + 1); }],
  ["add on a plain object", function (s) { return s.add.call({}, 1, "pen"); }],
  ["size on a Probe", function () { return describe("size").get.call(new Probe()); }],
  ["name through the prototype chain", function (s) { return Object.create(s).name; }],
  ["a destroyed shelf", function (s) { kite.destroy(s); return s.size; }],
  ["fail('runtime_error')", function (s) { return s.fail("runtime_error"); }],
  ["fail('int')", function (s) { return s.fail("int"); }],
  ["fail('TypeError')", function (s) { return s.fail("TypeError"); }],
  ["broken, KiteJsRuntimeException", function (s) { s.name = "KiteJsRuntimeException"; return s.broken; }],
  ["static fail('int')", function () { return Shelf.fail("int"); }],
  ["callbacks that close over their objects, collected", function () {
    var kept = new Probe();
    kite.gc();
    var before = kept.destroyedCount();
    (function () {
      var p = new Probe();
      p.onvalue = function () { return p; };
      var s = new Shelf();
      s.onsaved = function () { return s; };
    })();
    kite.gc();
    return kept.destroyedCount() - before;
  }],
  ["onsaved, kept by its shelf through a collection", function (s) {
    s.onsaved = function (n) { return n + 40; };
    kite.gc();
    return [typeof s.onsaved, s.save()];
  }],
  ["a weak and a strong function held, through a collection", function () {
    var p = new Probe();
    var q = new Probe();
    var held = [p.holdWeak(function () {}), q.holdWeak(function () {}, "strong")];
    kite.gc();
    return held.concat([p.held(), q.held()]);
  }],
];

ROWS.forEach(function (row) {
  var line;
  try {
    line = show(row[1](fresh()));
  } catch (e) {
    line = e.constructor.name + ": " + e.message;
  }
  console.log(row[0] + ": " + line);
});
console.log("done");
