// types/tv/engine.d.ts is what tv/engine-types.js makes of a probe of V8
// 3.28 now: the test remakes it and fails, with the difference, when the
// committed file is stale (remake it: node tv/engine-types.js --write).
// What the file keeps and leaves out is held by tests/tv/check.test.js,
// whose checks run against it and, after a run-time section, against a
// fresh probe; --write refuses declarations that do not compile.
//   node tests/tv/engine_types.test.js
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const paths = require("../../tv/paths.js");
const engineTypes = require("../../tv/engine-types.js");

// The lines that differ, as `diff -u` shows them (or the first that differs
// when there is no diff).
function difference(committed, made) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "tv-engine-types-"));
  try {
    const a = path.join(dir, "committed.d.ts");
    const b = path.join(dir, "made.d.ts");
    fs.writeFileSync(a, committed);
    fs.writeFileSync(b, made);
    const diff = childProcess.spawnSync("diff", ["-u", "--label", "types/tv/engine.d.ts", "--label", "made now", a, b],
      { encoding: "utf8" });
    if (diff.status === 1) return diff.stdout.split("\n").slice(0, 200).join("\n");
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
  const x = committed.split("\n");
  const y = made.split("\n");
  let i = 0;
  while (i < x.length && x[i] === y[i]) i++;
  return `line ${i + 1}:\n- ${x[i]}\n+ ${y[i]}`;
}

const made = engineTypes.generate(engineTypes.probe()).text;
const committed = fs.readFileSync(paths.engineTypes, "utf8");
if (committed !== made) {
  assert.fail(`types/tv/engine.d.ts is stale: remake it with node tv/engine-types.js --write\n` +
    difference(committed, made));
}
console.log("engine_types.test.js: ok");
