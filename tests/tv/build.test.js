// Tests of tv/build.js: the built form of modern scripts prints on the TV
// engine's V8 (Node.js 0.12) what the source prints here; the run-time
// section holds what the output needs; source maps lead back; bad input
// leaves the output folder as it was.
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { SourceMap } = require("module");
const paths = require("../../tv/paths");

const BUILD = path.join(paths.root, "tv", "build.js");
const RUNTIME_BEGIN = "/* kite build --target=tv: runtime */";
const RUNTIME_END = "/* kite build --target=tv: app */";
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "tv-build-test-"));
process.on("exit", () => fs.rmSync(scratch, { recursive: true, force: true }));

// A folder holding FILES ({path: text}), the build's current folder.
let apps = 0;
function makeApp(files) {
  const dir = path.join(scratch, String(apps++));
  for (const [name, text] of Object.entries(files)) {
    fs.mkdirSync(path.dirname(path.join(dir, name)), { recursive: true });
    fs.writeFileSync(path.join(dir, name), text);
  }
  return dir;
}

const build = (dir, args) => childProcess.spawnSync(process.execPath, [BUILD, ...args], { cwd: dir, encoding: "utf8" });

// Runs scripts in one global scope, in order, as the TV's page does. Node
// 0.12 quotes strings after a first argument that is not one: console.log
// prints its arguments as strings on both.
function runScripts() {
  var fs = require("fs");
  var vm = require("vm");
  console.log = function () {
    process.stdout.write(Array.prototype.map.call(arguments, String).join(" ") + "\n");
  };
  process.argv.slice(1).forEach(function (file) {
    vm.runInThisContext(fs.readFileSync(file, "utf8"), { filename: file });
  });
}
function run(node, dir, files) {
  const result = childProcess.spawnSync(node, ["-e", `(${runScripts})()`, ...files], { cwd: dir, encoding: "utf8" });
  assert.strictEqual(result.stderr, "", `${files.join(" ")} on ${node}`);
  return result.stdout;
}

// Every file below DIR with its text.
function snapshot(dir) {
  const files = {};
  const walk = (folder) => fs.readdirSync(folder, { withFileTypes: true }).forEach((entry) => {
    const full = path.join(folder, entry.name);
    if (entry.isDirectory()) walk(full);
    else files[path.relative(dir, full)] = fs.readFileSync(full, "utf8");
  });
  walk(dir);
  return files;
}

const section = (code) => (code.includes(RUNTIME_BEGIN) ? code.slice(code.indexOf(RUNTIME_BEGIN), code.indexOf(RUNTIME_END)) : null);

// Each row: a modern script, and what it prints in the desktop's Node.js and,
// built, on the TV's engine.
const PRINTS = [
  ["a class with a method", "class Point {\n  constructor(x, y) { this.x = x; this.y = y; }\n  sum() { return this.x + this.y; }\n}\nconsole.log(new Point(2, 3).sum());", "5\n"],
  ["a subclass calling super", "class A { name() { return 'a'; } }\nclass B extends A { name() { return super.name() + 'b'; } }\nconsole.log(new B().name());", "ab\n"],
  ["destructuring with defaults", "const { a = 1, b: [c = 2, ...rest] = [] } = { b: [undefined, 3, 4] };\nconsole.log(a, c, rest.length);", "1 2 2\n"],
  ["for-of over an array", "let s = '';\nfor (const v of ['x', 'y']) s += v;\nconsole.log(s);", "xy\n"],
  ["a template literal", "const n = 3;\nconsole.log(`n=${n * 2}`);", "n=6\n"],
  ["Object.assign", "console.log(JSON.stringify(Object.assign({ a: 1 }, { b: 2 })));", '{"a":1,"b":2}\n'],
  ["String.prototype.startsWith", "console.log('ab'.startsWith('a'), 'ab'.startsWith('b'));", "true false\n"],
  ["Array.prototype.includes", "console.log([1].includes(1), [1].includes(2));", "true false\n"],
  ["a Map and its keys spread", "const m = new Map([['k', 1]]);\nm.set('l', 2);\nconsole.log(m.get('k'), m.size, [...m.keys()].join());", "1 2 k,l\n"],
  ["an async function awaited through a promise", "async function twice(p) { return 2 * await p; }\ntwice(Promise.resolve(21)).then((v) => console.log(v));\nconsole.log('first');", "first\n42\n"],
  ["a generator", "function* count() { yield 1; yield 2; }\nconsole.log([...count()].join());", "1,2\n"],
  ["a script's \"use strict\" still applies", "'use strict';\nconst f = () => { try { undeclared = 1; return 'sloppy'; } catch (e) { return e.name; } };\nconsole.log(f(), 'ab'.startsWith('a'));", "ReferenceError true\n"],
];

for (const [name, source, prints] of PRINTS) {
  const dir = makeApp({ "app.js": source });
  assert.strictEqual(run(process.execPath, dir, ["app.js"]), prints, `${name}: the source`);
  const result = build(dir, ["--out=out", "app.js"]);
  assert.strictEqual(result.status, 0, `${name}: ${result.stderr}`);
  assert.strictEqual(run(paths.tvNode, dir, ["out/app.js"]), prints, `${name}: built, on V8 3.28`);
}

// An app of two scripts in load order, not in name order, after "--" as kite
// passes them: the run-time section in the first serves the second, and a
// former build goes.
{
  const dir = makeApp({
    "lib/z-greet.js": "const greet = (name) => `hi ${name}`;\n",
    "a-main.js": "console.log(greet('tv').toUpperCase(), 'tv'.padEnd(4, '!'));\n",
    "out/former.js": "former",
  });
  const result = build(dir, ["--out=out", "--", "lib/z-greet.js", "a-main.js"]);
  assert.strictEqual(result.status, 0, result.stderr);
  assert.match(result.stdout, /^built 2 scripts for the TV into out; run-time section: \d+ bytes\n$/);
  assert.deepStrictEqual(Object.keys(snapshot(path.join(dir, "out"))).sort(),
    ["a-main.js", "a-main.js.map", "lib/z-greet.js", "lib/z-greet.js.map"]);
  assert.strictEqual(run(paths.tvNode, dir, ["out/lib/z-greet.js", "out/a-main.js"]), "HI TV tv!!\n");
  const [first, second] = ["out/lib/z-greet.js", "out/a-main.js"].map((file) => fs.readFileSync(path.join(dir, file), "utf8"));
  assert.match(section(first), /core-js\/modules\/es\.string\.pad-end\.js/);
  assert.strictEqual(section(second), null);
  assert.match(second, /\$tvload\("core-js\/modules\/es\.string\.pad-end\.js"\)/);
  assert.doesNotMatch(second, /require\(/);
}

// A folder stands for its scripts in name order, below it too, without
// node_modules, dot-folders and what is not a script.
{
  const dir = makeApp({
    "app/b/z.js": "console.log(`z`);\n",
    "app/a.js": "console.log([1].includes(1));\n",
    "app/node_modules/dep.js": "dep",
    "app/.cache/x.js": "x",
    "app/notes.txt": "notes",
  });
  assert.strictEqual(build(dir, ["--out=out", "app"]).status, 0);
  assert.deepStrictEqual(Object.keys(snapshot(path.join(dir, "out"))).sort(), ["a.js", "a.js.map", "b/z.js", "b/z.js.map"]);
}

// Each row: a script, the modules its run-time section must hold, and those
// it must not; null: no section at all.
const RUNTIME = [
  ["ES5", "var a = [1, 2].join('-');\nconsole.log(a);", null, []],
  ["startsWith", "console.log('ab'.startsWith('a'));", ["core-js/modules/es.string.starts-with.js"], ["es.array.includes", "@swc/helpers"]],
  ["includes on an array", "console.log([1].includes(1));", ["core-js/modules/es.array.includes.js"], ["es.string.starts-with", "@swc/helpers"]],
  ["a spread, whose helper needs Array.from", "const xs = [1, 2];\nconsole.log(Math.max(...xs));",
    ["@swc/helpers/cjs/_to_consumable_array.cjs", "@swc/helpers/cjs/_iterable_to_array.cjs", "core-js/modules/es.array.from.js"], ["es.array.includes"]],
];
for (const [name, source, holds, lacks] of RUNTIME) {
  const dir = makeApp({ "app.js": source });
  assert.strictEqual(build(dir, ["--out=out", "app.js"]).status, 0, name);
  const runtime = section(fs.readFileSync(path.join(dir, "out/app.js"), "utf8"));
  if (holds === null) {
    assert.strictEqual(runtime, null, name);
    continue;
  }
  assert.notStrictEqual(runtime, null, name);
  // The section names each module it holds: /* INDEX: NAME */.
  for (const module of holds) assert.ok(runtime.includes(`: ${module} */`), `${name}: ${module}`);
  for (const module of lacks) assert.ok(!runtime.includes(module), `${name}: not ${module}`);
}

// Each row: a built file, a line of its code, and that line's place in the
// source; the first file holds the run-time section, the "use strict" one
// after its prologue.
{
  const dir = makeApp({
    "src/first.js": "'use strict';\n// a comment\nconst answer = () => 42;\n\nconsole.log('first', answer(), 'a'.startsWith('a'));\n",
    "src/more/second.js": "class Second {}\n\n\nconsole.log('second', [2].includes(2), new Second() instanceof Second);\n",
  });
  assert.strictEqual(build(dir, ["--out=out", "src"]).status, 0);
  const MAPS = [
    ["first.js", "var answer = function", "src/first.js", 3],
    ["first.js", "console.log('first'", "src/first.js", 5],
    ["more/second.js", "console.log('second'", "src/more/second.js", 4],
  ];
  for (const [file, code, source, line] of MAPS) {
    const built = path.join(dir, "out", file);
    const lines = fs.readFileSync(built, "utf8").split("\n");
    assert.strictEqual(lines[lines.length - 2], `//# sourceMappingURL=${path.basename(file)}.map`, file);
    const map = JSON.parse(fs.readFileSync(built + ".map", "utf8"));
    assert.strictEqual(path.resolve(path.dirname(built), map.sources[0]), path.join(dir, source), file);
    const at = lines.findIndex((text) => text.includes(code));
    assert.ok(at > 0, `${file}: ${code}`);
    assert.strictEqual(new SourceMap(map).findEntry(at, lines[at].indexOf(code)).originalLine + 1, line, `${file}: ${code}`);
  }
  assert.match(fs.readFileSync(path.join(dir, "out/first.js"), "utf8"), /^'use strict';\n\/\* kite build --target=tv: runtime \*\/\n/);
}

// Bad input: each row's files beside a good script and a former build, the
// arguments, and what stderr says. The status is 2 and nothing changes.
const BAD = [
  ["no output folder", {}, ["app.js"], /no output folder: --out=DIR is missing/],
  ["no scripts", {}, ["--out=out"], /no scripts: name the app's scripts/],
  ["an unknown option", {}, ["--out=out", "--watch", "app.js"], /unknown option --watch/],
  ["a script that is not there", {}, ["--out=out", "app.js", "gone.js"], /^tv\/build\.js: gone\.js: no such file or folder$/m],
  ["a folder without scripts", { "empty/notes.txt": "" }, ["--out=out", "empty"], /empty: the folder holds no scripts/],
  ["a script that does not parse", { "bad.js": "var a = 1;\nlet b = ;\n" }, ["--out=out", "app.js", "bad.js"], /^tv\/build\.js: bad\.js:2:9: Expression expected$/m],
  ["a helper the TV's engine cannot parse", { "prebuilt.js": "var _using = require(\"@swc/helpers/_/_using\");\n" }, ["--out=out", "prebuilt.js"],
    /prebuilt\.js needs @swc\/helpers\/cjs\/_using\.cjs, which the TV's engine \(V8 3\.28\) cannot parse: line \d+: Unexpected token/],
  ["an output folder holding other files", { "out/notes.txt": "mine" }, ["--out=out", "app.js"], /holds .*notes\.txt, which no build wrote/],
  ["an output folder that is a file", {}, ["--out=app.js", "app.js"], /app\.js is not a folder/],
  ["a script inside the output folder", {}, ["--out=out", "out/former.js"], /out\/former\.js is inside the output folder/],
  ["an output folder holding the current one", {}, ["--out=.", "app.js"], /holds the current folder/],
];
for (const [name, files, args, says] of BAD) {
  const dir = makeApp({ "app.js": "const a = `a`;\n", "out/former.js": "former", "out/former.js.map": "{}", ...files });
  const before = snapshot(path.dirname(dir));
  const result = build(dir, args);
  assert.strictEqual(result.status, 2, `${name}: ${result.stderr}`);
  assert.match(result.stderr, says, name);
  assert.strictEqual(result.stdout, "", name);
  assert.deepStrictEqual(snapshot(path.dirname(dir)), before, name);
}
