// kite's side of the app tools for the TV's engine: kite test --target=tv
// runs each file as built for it; kite check and kite build --target=tv take
// the examples. Given kite and the plug-in (tests/tv/CMakeLists.txt).
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const paths = require("../../tv/paths");

const [kite, plugin] = process.argv.slice(2).map((file) => path.resolve(file));
if (!kite) {
  console.log("kite.test.js: skipped, no kite in this build");
  process.exit(0);
}
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "tv-kite-test-"));
process.on("exit", () => fs.rmSync(scratch, { recursive: true, force: true }));
const runKite = (args) => childProcess.spawnSync(kite, args, { cwd: scratch, encoding: "utf8" });

// A test file whose tests tell which form runs: built for the TV, an arrow
// function is an ES5 function, and a script file of its folder, loaded with
// kite.load, is built too.
fs.writeFileSync(path.join(scratch, "shapes.js"), "const area = (w, h) => w * h;\narea;\n");
fs.writeFileSync(path.join(scratch, "form.test.js"), [
  'const areaOf = kite.load("shapes.js");',
  'test("the test file", () => assert.match(String(() => 1), /^function/));',
  'test("the loaded file", () => assert.match(String(areaOf), /^function/));',
  'test("both", () => assert.equal(areaOf(2, 3), 6));',
  "",
].join("\n"));

const ROWS = [
  // [kite's arguments, exit status, what its output holds]
  [["test", "--target=tv"], 0, "3 passed, 0 failed"],
  [["test"], 1, "1 passed, 2 failed"],
];
for (const [args, status, text] of ROWS) {
  const result = runKite([...args, `--plugin=${plugin}`, "form.test.js"]);
  assert.strictEqual(result.status, status, `kite ${args.join(" ")}:\n${result.stdout}${result.stderr}`);
  assert.ok(result.stdout.includes(text), `kite ${args.join(" ")}:\n${result.stdout}`);
}

// A test file that the build refuses stops kite test with the build's words.
fs.writeFileSync(path.join(scratch, "broken.test.js"), 'test("x", () => {\n');
const broken = runKite(["test", "--target=tv", `--plugin=${plugin}`, "broken.test.js"]);
assert.strictEqual(broken.status, 2, broken.stderr);
assert.match(broken.stderr, /^kite: the build of broken\.test\.js for the TV's engine failed:\nkite build: broken\.test\.js:1:19: Expected '}'/);

// The examples, written as app teams write them: the TV's engine rejects
// the source of the film example (each kind of problem has its row in
// check.test.js) and takes the build of all four. Each row: kite's arguments
// (OUT is the build's folder), its status, and its output's lines.
const OUT = path.join(scratch, "examples");
const EXAMPLES = ["film.js", "film.test.js", "player.js", "tour.js"];
const sources = EXAMPLES.map((name) => path.join("examples", name));
const NO_PADDING = "Property 'padStart' does not exist on type 'string'. The TV's engine (V8 3.28) has no String.prototype.padStart.";
const EXAMPLE_ROWS = [
  [["check", "--target=tv", ...sources.slice(0, 2)], 1, [
    "examples/film.js:23:7: Unexpected identifier",
    `examples/film.js:30:56: ${NO_PADDING}`,
    `examples/film.js:31:27: ${NO_PADDING}`,
    "examples/film.test.js:21:49: Unexpected token )",
    "kite check: the TV's engine (V8 3.28) would reject 2 of 2 files (4 problems)",
  ]],
  [["build", "--target=tv", `--out=${OUT}`, ...sources], 0, [/^built 4 scripts for the TV into .*examples; run-time section: \d+ bytes$/]],
  [["check", "--target=tv", ...EXAMPLES.map((name) => path.join(OUT, name))], 0, [
    "kite check: 4 files pass: the TV's engine (V8 3.28) parses them and has the built-ins they use",
  ]],
];
for (const [args, status, lines] of EXAMPLE_ROWS) {
  const result = childProcess.spawnSync(kite, args, { cwd: paths.root, encoding: "utf8" });
  const shown = `kite ${args.slice(0, 3).join(" ")} ...:\n${result.stdout}${result.stderr}`;
  assert.strictEqual(result.status, status, shown);
  const got = result.stdout.trimEnd().split("\n");
  assert.strictEqual(got.length, lines.length, shown);
  lines.forEach((line, i) => (line instanceof RegExp ? assert.match(got[i], line, shown) : assert.strictEqual(got[i], line, shown)));
}
console.log("kite.test.js: ok");
