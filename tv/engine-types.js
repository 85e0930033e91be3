// The declaration file of the TV engine's built-ins, types/tv/engine.d.ts:
// TypeScript's own lib files of es2022 (the library that
// scripts/check-types.sh checks against) keeping only what tv/probe.js finds
// in the TV's engine (V8 3.28, in Node.js 0.12.18):
//   node tv/engine-types.js --write       remakes types/tv/engine.d.ts
//   node tv/engine-types.js [SCRIPT...]   prints it, for the engine as it is
//                                         after SCRIPT... ran (tv/probe.js)
//   node tv/engine-types.js --missing     lists what the engine lacks
// tests/tv/engine_types.test.js fails when types/tv/engine.d.ts is stale.
//
// The rules, for each declaration of each lib file (an interface declared
// in several files, as `Array<T>` is, is filtered in each):
// - `declare var X`, `declare function f`: kept when the global exists;
//   inside `declare namespace Intl`, when Intl has it;
// - `interface XConstructor`: kept when X exists, with the members that X has;
// - `interface X` where the lib declares a value X that exists: the members
//   that X.prototype has (or an object made by X: a function's `prototype`,
//   an error's `stack`), for X a constructor; those of X itself for an
//   object (Math, JSON); ReadonlyArray, ReadonlyMap, ReadonlySet,
//   CallableFunction, NewableFunction, IArguments and the iterators are held
//   against the objects they describe;
// - a member keyed by a well-known symbol (`[Symbol.iterator]`) only when the
//   engine has that symbol, and, in the interfaces above, the member;
// - anything else, which describes no object of the engine (type aliases,
//   PropertyDescriptor, ArrayLike, Iterable...), whole; as is `interface X`
//   when X is missing: a type no value of the engine has.
// A property counts when it is the object's own or comes from its prototype
// chain.
"use strict";
const childProcess = require("child_process");
const fs = require("fs");
const path = require("path");
const paths = require("./paths.js");

const LIB = "es2022";

// Interfaces that describe an engine object under another name: the
// constructor whose prototype and instances they describe, or the kind of
// tv/probe.js's sample object.
const ALIASES = {
  ReadonlyArray: { constructor: "Array" },
  ReadonlyMap: { constructor: "Map" },
  ReadonlySet: { constructor: "Set" },
  CallableFunction: { constructor: "Function" },
  NewableFunction: { constructor: "Function" },
  IArguments: { instance: "arguments" },
  ArrayIterator: { instance: "ArrayIterator" },
  StringIterator: { instance: "StringIterator" },
  MapIterator: { instance: "MapIterator" },
  SetIterator: { instance: "SetIterator" },
};

function loadTypeScript() {
  try {
    return require(paths.typescript);
  } catch (e) {
    throw new Error(`TypeScript is missing at ${paths.typescript}; run scripts/setup.sh`);
  }
}

// Probes the TV's engine, after running `scripts` there (tv/probe.js):
// the probe's JSON, or {error: {file, line, column, message}} when a
// script threw.
function probe(scripts = []) {
  if (!fs.existsSync(paths.tvNode)) {
    throw new Error(`the TV engine's V8 (Node.js 0.12.18) is missing at ${paths.tvNode}; run scripts/setup.sh`);
  }
  const run = childProcess.spawnSync(paths.tvNode, [path.join(__dirname, "probe.js"), ...scripts], {
    encoding: "utf8",
    maxBuffer: 64 << 20,
    timeout: 60000,
  });
  if (run.error) throw new Error(`tv/probe.js: ${run.error.message}`);
  if (run.status === 0 || run.status === 1) {
    try {
      return JSON.parse(run.stdout);
    } catch (e) {
      // Reported below.
    }
  }
  throw new Error(`tv/probe.js failed (status ${run.status}${run.signal ? ", " + run.signal : ""}): ` +
    (run.stderr || run.stdout).trim());
}

// The lib files of LIB, each after those it references, as TypeScript loads
// them: [{name: "lib.es5.d.ts", text}].
function libFiles(ts) {
  const dir = path.dirname(require.resolve(path.join(paths.typescript, "lib", "lib.d.ts")));
  const files = [];
  const seen = new Set();
  (function visit(lib) {
    if (seen.has(lib)) return;
    seen.add(lib);
    const name = `lib.${lib}.d.ts`;
    const text = fs.readFileSync(path.join(dir, name), "utf8").replace(/\r\n?/g, "\n");
    for (const ref of ts.preProcessFile(text, true, true).libReferenceDirectives) visit(ref.fileName.toLowerCase());
    files.push({ name, text });
  })(LIB);
  return files;
}

// What a probe says about objects: whether an object (a path of the probe's
// objects, or a kind of its instances) has a property, by name or by
// well-known symbol, itself or along its prototype chain.
function engineOf(found) {
  const objects = found.objects;
  const chainHas = (entry, key) => {
    for (let seen = 0; entry && seen < 64; seen++) {
      if (key.symbol ? entry.symbols.includes(key.symbol) : entry.own.includes(key.name)) return true;
      entry = entry.proto ? objects[entry.proto] : null;
    }
    return false;
  };
  return {
    symbols: new Set(found.symbols),
    globals: new Set(found.globals),
    object: (p) => objects[p] || null,
    instance: (kind) => (found.instances && found.instances[kind]) || null,
    // Whether any of `entries` has `key`.
    has: (entries, key) => entries.some((entry) => chainHas(entry, key)),
  };
}

// The key of a member or a declaration: {name} or {symbol} (for
// `[Symbol.iterator]`), or null when it has no name (a call, construct or
// index signature) or one this cannot tell.
function keyOf(ts, node) {
  const name = node.name;
  if (!name) return null;
  if (ts.isIdentifier(name) || ts.isStringLiteral(name) || ts.isNumericLiteral(name)) return { name: name.text };
  if (ts.isComputedPropertyName(name)) {
    const e = name.expression;
    if (ts.isPropertyAccessExpression(e) && ts.isIdentifier(e.expression) && e.expression.text === "Symbol") {
      return { symbol: e.name.text };
    }
  }
  return null;
}

function keyText(key) {
  return key.symbol ? `[Symbol.${key.symbol}]` : key.name;
}

// Builds the declaration file from a probe's JSON. Answers {text, missing}:
// `missing` lists what was left out ("Object.assign",
// "String.prototype.startsWith", "Proxy"...).
function generate(found, options = {}) {
  const ts = options.ts || loadTypeScript();
  const engine = engineOf(found);
  const files = libFiles(ts).map((file) => ({
    ...file,
    sf: ts.createSourceFile(file.name, file.text, ts.ScriptTarget.Latest, true),
  }));

  // The value names that the lib declares in each scope ("" for the
  // global one, "Intl"), over all its files.
  const libValues = new Map();
  const valuesOf = (scope) => {
    if (!libValues.has(scope)) libValues.set(scope, new Set());
    return libValues.get(scope);
  };
  const collect = (statements, scope) => {
    for (const s of statements) {
      if (ts.isVariableStatement(s)) {
        for (const d of s.declarationList.declarations) valuesOf(scope).add(d.name.text);
      } else if (ts.isFunctionDeclaration(s) && s.name) {
        valuesOf(scope).add(s.name.text);
      } else if (ts.isModuleDeclaration(s) && s.body && ts.isModuleBlock(s.body)) {
        valuesOf(scope).add(s.name.text);
        collect(s.body.statements, scope ? `${scope}.${s.name.text}` : s.name.text);
      }
    }
  };
  for (const file of files) collect(file.sf.statements, "");

  // Whether scope has the value `name`: a global, or a property of the
  // namespace's object.
  const scopeHas = (scope, name) => {
    if (!scope) return engine.globals.has(name);
    const object = engine.object(scope);
    return Boolean(object && object.own.includes(name));
  };
  const pathIn = (scope, name) => (scope ? `${scope}.${name}` : name);

  const missing = [];
  const removals = new Map(); // file name -> [[from, to]]
  const remove = (file, node, what) => {
    if (!removals.has(file.name)) removals.set(file.name, []);
    removals.get(file.name).push([node.getFullStart(), node.getEnd()]);
    if (what && !missing.includes(what)) missing.push(what);
  };

  // The objects an interface's members are held against: null to keep
  // them all; `drop` when the interface goes.
  const targetsOf = (scope, name) => {
    const constructorOf = /^(.+)Constructor$/.exec(name);
    if (constructorOf) {
      const object = scopeHas(scope, constructorOf[1]) && engine.object(pathIn(scope, constructorOf[1]));
      return object ? { entries: [object], label: pathIn(scope, constructorOf[1]) } : { drop: true };
    }
    const alias = !scope && ALIASES[name];
    if (alias && alias.instance) {
      const instance = engine.instance(alias.instance);
      return instance ? { entries: [instance], label: name } : null;
    }
    const constructorName = alias ? alias.constructor : name;
    if (!alias && !valuesOf(scope).has(name)) return null;
    if (!scopeHas(scope, constructorName)) return null;
    const at = pathIn(scope, constructorName);
    const prototype = engine.object(`${at}.prototype`);
    if (prototype) {
      const instance = !scope && engine.instance(constructorName);
      return { entries: instance ? [prototype, instance] : [prototype], label: `${at}.prototype` };
    }
    const object = engine.object(at);
    return object ? { entries: [object], label: at } : null;
  };

  // Whether a declaration names a well-known symbol that the engine lacks,
  // as String's `match(matcher: { [Symbol.match](...) })` does.
  const usesMissingSymbol = (node) => {
    if (ts.isComputedPropertyName(node)) {
      const e = node.expression;
      if (ts.isPropertyAccessExpression(e) && ts.isIdentifier(e.expression) && e.expression.text === "Symbol" &&
          !engine.symbols.has(e.name.text)) {
        return true;
      }
    }
    return Boolean(ts.forEachChild(node, (child) => usesMissingSymbol(child) || undefined));
  };

  // Filters the members of an interface or a type literal: removes those
  // that `targets` lack, and those that name a symbol the engine lacks.
  // Answers how many are left.
  const filterMembers = (file, members, targets) => {
    let left = 0;
    for (const member of members) {
      const key = keyOf(ts, member);
      const label = key && targets ? targets.label + (key.symbol ? keyText(key) : "." + key.name) : null;
      if (key && key.symbol && !engine.symbols.has(key.symbol)) remove(file, member, label);
      else if (key && targets && !engine.has(targets.entries, key)) remove(file, member, label);
      // An overload over a protocol that the engine lacks.
      else if (usesMissingSymbol(member)) remove(file, member, null);
      else left++;
    }
    return left;
  };

  // Interface blocks left empty, by scope and name: dropped when another
  // block of the name has members.
  const blocks = new Map();
  const filterStatements = (file, statements, scope, scopeExists) => {
    let left = 0;
    for (const s of statements) {
      if (ts.isInterfaceDeclaration(s)) {
        const name = s.name.text;
        const targets = scopeExists ? targetsOf(scope, name) : /Constructor$/.test(name) ? { drop: true } : null;
        if (targets && targets.drop) {
          remove(file, s, null);
          continue;
        }
        const membersLeft = filterMembers(file, s.members, targets);
        const id = `${scope}:${name}`;
        if (!blocks.has(id)) blocks.set(id, []);
        blocks.get(id).push({ file, node: s, empty: membersLeft === 0 && !s.heritageClauses });
        left++;
      } else if (ts.isVariableStatement(s)) {
        const kept = s.declarationList.declarations.filter((d) => scopeExists && scopeHas(scope, d.name.text));
        if (kept.length === 0) {
          for (const d of s.declarationList.declarations) missing.push(pathIn(scope, d.name.text));
          remove(file, s, null);
          continue;
        }
        if (kept.length !== s.declarationList.declarations.length) {
          throw new Error(`${file.name}: a var statement with several declarations, some missing`);
        }
        for (const d of kept) {
          if (d.type && ts.isTypeLiteralNode(d.type)) {
            const at = pathIn(scope, d.name.text);
            filterMembers(file, d.type.members, { entries: [engine.object(at)].filter(Boolean), label: at });
          }
        }
        left++;
      } else if (ts.isFunctionDeclaration(s)) {
        if (!s.name || (scopeExists && scopeHas(scope, s.name.text))) {
          left++;
        } else {
          remove(file, s, pathIn(scope, s.name.text));
        }
      } else if (ts.isModuleDeclaration(s) && s.body && ts.isModuleBlock(s.body)) {
        const inner = pathIn(scope, s.name.text);
        const exists = scopeExists && scopeHas(scope, s.name.text) && Boolean(engine.object(inner));
        if (filterStatements(file, s.body.statements, inner, exists) === 0) remove(file, s, null);
        else left++;
      } else {
        left++;
      }
    }
    return left;
  };
  for (const file of files) filterStatements(file, file.sf.statements, "", true);

  for (const list of blocks.values()) {
    const empty = list.filter((b) => b.empty);
    const keepOne = empty.length === list.length;
    empty.forEach((b, i) => {
      if (!(keepOne && i === 0)) remove(b.file, b.node, null);
    });
  }

  // The text: each lib file's statements that are left, without what was
  // removed inside them.
  const removedInside = (file, from, to) =>
    (removals.get(file.name) || []).filter(([a, b]) => a >= from && b <= to).sort((x, y) => x[0] - y[0]);
  const isRemoved = (file, s) => (removals.get(file.name) || []).some(([a, b]) => a === s.getFullStart() && b === s.getEnd());
  const parts = [];
  for (const file of files) {
    const kept = [];
    for (const s of file.sf.statements) {
      if (isRemoved(file, s)) continue;
      const start = s.getStart(file.sf, true);
      let text = "";
      let cursor = start;
      for (const [a, b] of removedInside(file, s.getFullStart(), s.getEnd())) {
        if (a < cursor) continue; // inside a range already removed
        text += file.text.slice(cursor, a);
        cursor = b;
      }
      text += file.text.slice(cursor, s.getEnd());
      // Without the lib's line comments, its notes to its own maintainers
      // (the documentation comments stay); no blank line left at the top or
      // the bottom of a block.
      kept.push(text.replace(/^[ \t]*\/\/(?!\/).*\n/gm, "")
        .replace(/\{\n(?:[ \t]*\n)+/g, "{\n").replace(/\n(?:[ \t]*\n)+([ \t]*\})/g, "\n$1"));
    }
    if (kept.length) parts.push(`// ${file.name}\n\n${kept.join("\n\n")}\n`);
  }
  const version = ts.version;
  const header = [
    "// GENERATED by tv/engine-types.js: do not edit. Remake it with",
    "//   node tv/engine-types.js --write",
    "// (tests/tv/engine_types.test.js fails when this file is stale).",
    "//",
    `// The built-ins of the TV's engine, V8 ${found.engine.v8}, as tv/probe.js found them in`,
    `// Node.js ${found.engine.node}: TypeScript ${version}'s lib files of ${LIB} (the library that`,
    "// scripts/check-types.sh checks against), without what that engine lacks.",
    "// tv/check.js checks app scripts against it (with noLib).",
    "//",
    "// From TypeScript's lib files: Copyright (c) Microsoft Corporation,",
    "// Apache License 2.0 (http://www.apache.org/licenses/LICENSE-2.0).",
    "",
    '/// <reference no-default-lib="true"/>',
    "",
  ].join("\n");
  return { text: `${header}\n${parts.join("\n")}`, missing: [...new Set(missing)].sort() };
}

// The diagnostics of the declaration file compiled on its own: none when
// what was left out leaves nothing dangling.
function selfCheck(text, options = {}) {
  const ts = options.ts || loadTypeScript();
  const name = "/engine.d.ts";
  const compilerOptions = { noLib: true, noEmit: true, strict: true, target: ts.ScriptTarget.ES2022, types: [] };
  const host = ts.createCompilerHost(compilerOptions);
  const getSourceFile = host.getSourceFile;
  host.getSourceFile = (file, languageVersion, ...rest) =>
    file === name ? ts.createSourceFile(name, text, languageVersion, true) : getSourceFile(file, languageVersion, ...rest);
  const program = ts.createProgram([name], compilerOptions, host);
  return ts.getPreEmitDiagnostics(program).map((d) => {
    const where = d.file ? `${d.file.fileName}:${d.file.getLineAndCharacterOfPosition(d.start).line + 1}: ` : "";
    return where + ts.flattenDiagnosticMessageText(d.messageText, " ");
  });
}

function main(args) {
  const write = args.includes("--write");
  const listMissing = args.includes("--missing");
  const scripts = args.filter((a) => a !== "--write" && a !== "--missing");
  const bad = scripts.find((a) => a.startsWith("-"));
  if (bad || (write && scripts.length)) {
    process.stderr.write("usage: node tv/engine-types.js [--write | --missing | SCRIPT...]\n");
    return 2;
  }
  const found = probe(scripts);
  if (found.error) {
    const e = found.error;
    process.stderr.write(`tv/engine-types.js: ${e.file}:${e.line}:${e.column}: ${e.message}\n`);
    return 1;
  }
  const result = generate(found);
  if (listMissing) {
    process.stdout.write(result.missing.join("\n") + "\n");
    return 0;
  }
  if (!write) {
    process.stdout.write(result.text);
    return 0;
  }
  const problems = selfCheck(result.text);
  if (problems.length) {
    process.stderr.write(`tv/engine-types.js: the declarations do not compile:\n${problems.join("\n")}\n`);
    return 1;
  }
  fs.mkdirSync(path.dirname(paths.engineTypes), { recursive: true });
  const temporary = `${paths.engineTypes}.${process.pid}.tmp`;
  fs.writeFileSync(temporary, result.text);
  fs.renameSync(temporary, paths.engineTypes);
  process.stdout.write(`${path.relative(process.cwd(), paths.engineTypes)}: ${Buffer.byteLength(result.text)} bytes, ` +
    `${result.missing.length} built-ins of ${LIB} left out\n`);
  return 0;
}

module.exports = { probe, generate, selfCheck, libFiles, LIB };

if (require.main === module) {
  try {
    process.exitCode = main(process.argv.slice(2));
  } catch (e) {
    process.stderr.write(`tv/engine-types.js: ${e.message}\n`);
    process.exitCode = 1;
  }
}
