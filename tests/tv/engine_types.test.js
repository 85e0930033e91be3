// types/tv/engine.d.ts is what tv/engine-types.js makes of a probe of V8
// 3.28 now: the test remakes it and fails, with the difference, when the
// committed file is stale (remake it: node tv/engine-types.js --write).
// It also holds the probe to what was measured on that engine, and the
// declarations to compiling on their own.
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

const found = engineTypes.probe();
const made = engineTypes.generate(found);

// types/tv/engine.d.ts is what the probe makes now.
{
  const committed = fs.readFileSync(paths.engineTypes, "utf8");
  if (committed !== made.text) {
    assert.fail(`types/tv/engine.d.ts is stale: remake it with node tv/engine-types.js --write\n` +
      difference(committed, made.text));
  }
}

// The probe finds what was measured on V8 3.28.
{
  assert.strictEqual(found.engine.v8, "3.28.71.20");
  for (const name of ["Promise", "Map", "Set", "WeakMap", "Symbol", "Object", "JSON", "Math"]) {
    assert.ok(found.globals.includes(name), `global ${name}`);
  }
  for (const name of ["Proxy", "Reflect", "process", "Buffer", "require", "console", "setTimeout"]) {
    assert.ok(!found.globals.includes(name), `no global ${name}`);
  }
  assert.ok(found.objects.Object.own.includes("keys"));
  assert.ok(!found.objects.Object.own.includes("assign"));
  assert.ok(found.objects["String.prototype"].own.includes("indexOf"));
  assert.ok(!found.objects["String.prototype"].own.includes("startsWith"));
  assert.ok(!found.objects["Array.prototype"].own.includes("includes"));
  assert.deepStrictEqual(found.symbols, ["iterator", "unscopables"]);
  assert.ok(found.objects["Array.prototype"].symbols.includes("iterator"));
}

// The declarations keep what exists and leave out what does not.
{
  for (const name of ["Promise", "Map", "Set", "WeakMap", "Symbol"]) {
    assert.match(made.text, new RegExp(`^declare var ${name}: ${name}Constructor;$`, "m"));
  }
  for (const name of ["Object.assign", "String.prototype.startsWith", "Array.prototype.includes", "Proxy", "Reflect.apply"]) {
    assert.ok(made.missing.includes(name), `${name} left out`);
  }
  for (const name of ["Object.keys", "String.prototype.indexOf", "Promise.all", "Map.prototype.get"]) {
    assert.ok(!made.missing.includes(name), `${name} kept`);
  }
  assert.doesNotMatch(made.text, /^\s*(assign|startsWith)[<(]/m);
  assert.doesNotMatch(made.text, /^declare var Proxy\b/m);
}

// The declarations compile on their own (with noLib).
{
  assert.deepStrictEqual(engineTypes.selfCheck(made.text), []);
}

console.log("engine_types.test.js: ok");
