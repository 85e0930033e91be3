// What the TV's engine really has, printed as JSON: run in Node.js 0.12.18,
// whose V8 (3.28) is the TV engine's generation, by tv/engine-types.js:
//   .deps/node-v0.12.18/bin/node tv/probe.js [SCRIPT...]
// It looks into a new context of that V8, which holds the engine's built-ins
// and none of Node's globals (process, Buffer, require, console...). Each
// SCRIPT is run there first, in the order given: the run-time section of a
// file that `kite build --target=tv` wrote (tv/runtime-section.js), or the
// whole file when it has none; the probe then finds the engine as the app
// will find it. On an error there it prints {"error": {file, line, column,
// message}} and exits with status 1.
//
// ES5 only: this file runs on V8 3.28.
//
// The JSON:
//   engine     the versions of Node.js and V8;
//   globals    the names of the global object's own properties;
//   symbols    the well-known symbols that exist ("iterator" for Symbol.iterator);
//   objects    by path ("Array", "Array.prototype", "Intl.Collator", "Math"):
//              {own: its own property names, symbols: the well-known symbols
//              it has own properties for, proto: the path of its prototype};
//              each global object or function, the `prototype` of each, the
//              constructors held by a global object that is no function
//              (Intl's) and theirs, and each object on the way up a
//              prototype chain ("Object.getPrototypeOf(...)" when it has no
//              other name);
//   instances  the same for one object made by each constructor (SAMPLES),
//              for what an engine puts on each object and not on the
//              prototype (a function's `prototype`, an error's `stack`).
"use strict";
var fs = require("fs");
var vm = require("vm");
var located = require("./compile.js").located;
var section = require("./runtime-section.js");

// One object of each kind, made in the probed context; a kind whose
// constructor is missing is left out.
var SAMPLES = {
  Object: "({})",
  Function: "(function () {})",
  Array: "[]",
  String: "new String('')",
  Boolean: "new Boolean(false)",
  Number: "new Number(0)",
  Date: "new Date(0)",
  RegExp: "/a/",
  Error: "new Error('m', { cause: 0 })",
  EvalError: "new EvalError('m', { cause: 0 })",
  RangeError: "new RangeError('m', { cause: 0 })",
  ReferenceError: "new ReferenceError('m', { cause: 0 })",
  SyntaxError: "new SyntaxError('m', { cause: 0 })",
  TypeError: "new TypeError('m', { cause: 0 })",
  URIError: "new URIError('m', { cause: 0 })",
  AggregateError: "new AggregateError([], 'm', { cause: 0 })",
  Promise: "new Promise(function () {})",
  Map: "new Map()",
  Set: "new Set()",
  WeakMap: "new WeakMap()",
  WeakSet: "new WeakSet()",
  ArrayBuffer: "new ArrayBuffer(8)",
  DataView: "new DataView(new ArrayBuffer(8))",
  Int8Array: "new Int8Array(0)",
  Uint8Array: "new Uint8Array(0)",
  Uint8ClampedArray: "new Uint8ClampedArray(0)",
  Int16Array: "new Int16Array(0)",
  Uint16Array: "new Uint16Array(0)",
  Int32Array: "new Int32Array(0)",
  Uint32Array: "new Uint32Array(0)",
  Float32Array: "new Float32Array(0)",
  Float64Array: "new Float64Array(0)",
  arguments: "(function () { return arguments; })()",
  ArrayIterator: "[][Symbol.iterator]()",
  StringIterator: "''[Symbol.iterator]()",
  MapIterator: "new Map()[Symbol.iterator]()",
  SetIterator: "new Set()[Symbol.iterator]()"
};

function fail(text) {
  process.stderr.write("tv/probe.js: " + text + "\n");
  process.exit(2);
}

function run(context, file) {
  var source;
  try {
    source = fs.readFileSync(file, "utf8");
  } catch (e) {
    fail("cannot read " + file + ": " + e.message);
  }
  var found = section.find(source);
  if (found && found.error) fail(file + ": " + found.error);
  var code = found ? section.code(source, found) : source;
  try {
    new vm.Script(code, { filename: file }).runInContext(context);
  } catch (e) {
    var isError = e !== null && typeof e === "object" && typeof e.message === "string";
    var place = isError ? located(e, file) : { line: 1, column: 1 };
    var name = isError && typeof e.name === "string" ? e.name + ": " : "";
    var message = isError ? name + place.message : "uncaught " + String(e);
    process.stdout.write(JSON.stringify({
      error: { file: file, line: place.line, column: place.column, message: message }
    }) + "\n");
    process.exit(1);
  }
}

function probe(context) {
  var global = vm.runInContext("this", context);
  var getSymbols = Object.getOwnPropertySymbols;
  var Sym = global.Symbol;
  var wellKnown = [];
  if (typeof Sym === "function") {
    Object.getOwnPropertyNames(Sym).forEach(function (name) {
      var value;
      try { value = Sym[name]; } catch (e) { return; }
      if (typeof value === "symbol") wellKnown.push(name);
    });
  }
  wellKnown.sort();

  var known = [];  // [object, path]
  var objects = {};
  var queue = [];
  function pathOf(object) {
    for (var i = 0; i < known.length; i++) if (known[i][0] === object) return known[i][1];
    return null;
  }
  function isObject(value) {
    return value !== null && (typeof value === "object" || typeof value === "function");
  }
  function add(object, path) {
    if (!isObject(object) || object === global || pathOf(object) !== null) return;
    known.push([object, path]);
    queue.push([object, path]);
  }
  function describe(object, path) {
    var entry = { own: Object.getOwnPropertyNames(object).sort(), symbols: [], proto: null };
    if (getSymbols) {
      var own = getSymbols(object);
      wellKnown.forEach(function (name) {
        if (own.indexOf(Sym[name]) >= 0) entry.symbols.push(name);
      });
    }
    var proto = Object.getPrototypeOf(object);
    if (isObject(proto) && proto !== global) {
      if (pathOf(proto) === null) add(proto, "Object.getPrototypeOf(" + path + ")");
      entry.proto = pathOf(proto);
    }
    return entry;
  }
  function property(object, name) {
    var descriptor = Object.getOwnPropertyDescriptor(object, name);
    return descriptor && "value" in descriptor ? descriptor.value : undefined;
  }

  var globals = Object.getOwnPropertyNames(global).sort();
  // The named objects first, so that a prototype chain finds them by name.
  globals.forEach(function (name) {
    var value = property(global, name);
    if (!isObject(value)) return;
    add(value, name);
    var proto = typeof value === "function" ? property(value, "prototype") : undefined;
    add(proto, name + ".prototype");
    if (typeof value === "object") {
      Object.getOwnPropertyNames(value).sort().forEach(function (inner) {
        var member = property(value, inner);
        var memberProto = typeof member === "function" ? property(member, "prototype") : undefined;
        if (!isObject(memberProto)) return;
        add(member, name + "." + inner);
        add(memberProto, name + "." + inner + ".prototype");
      });
    }
  });
  var instances = {};
  var samples = [];
  Object.keys(SAMPLES).forEach(function (kind) {
    var sample;
    try {
      sample = vm.runInContext(SAMPLES[kind], context);
    } catch (e) {
      return;
    }
    if (isObject(sample)) samples.push([kind, sample]);
  });
  // Every object met, with its prototype chain; then the samples.
  while (queue.length) {
    var next = queue.shift();
    objects[next[1]] = describe(next[0], next[1]);
  }
  samples.forEach(function (pair) {
    instances[pair[0]] = describe(pair[1], SAMPLES[pair[0]]);
    while (queue.length) {
      var more = queue.shift();
      objects[more[1]] = describe(more[0], more[1]);
    }
  });
  var sortedObjects = {};
  Object.keys(objects).sort().forEach(function (path) { sortedObjects[path] = objects[path]; });
  return {
    engine: { node: process.version, v8: process.versions.v8 },
    globals: globals,
    symbols: wellKnown,
    objects: sortedObjects,
    instances: instances
  };
}

var context = vm.createContext({});
process.argv.slice(2).forEach(function (file) {
  if (file.charAt(0) === "-") fail("usage: tv/probe.js [SCRIPT...]");
  run(context, file);
});
process.stdout.write(JSON.stringify(probe(context), null, 1) + "\n");
