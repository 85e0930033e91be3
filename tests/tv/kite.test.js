// kite's side of the app tools for the TV's engine: kite test --target=tv
// runs each file as built for it, and kite --version names the V8 that the
// tools target. Given kite and the plug-in (tests/tv/CMakeLists.txt).
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const paths = require("../../tv/paths");

const [kite, plugin] = process.argv.slice(2);
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
assert.match(broken.stderr, /^kite: the build of broken\.test\.js for the TV's engine failed:\ntv\/build\.js: broken\.test\.js:1:19: Expected '}'/);

// kite --version names the V8 of the TV's engine that the tools run.
const version = runKite(["--version"]).stdout;
const tvV8 = childProcess.execFileSync(paths.tvNode, ["-p", "process.versions.v8"], { encoding: "utf8" }).trim();
assert.ok(version.includes(`\nV8 of --target=tv, the TV's engine: ${tvV8}\n`), version);
console.log("kite.test.js: ok");
