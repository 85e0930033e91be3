// Tells an app developer what the TV's engine (V8 3.28) would reject in
// app scripts:
//   node tv/check.js [--] FILE...
// - Syntax: each file is compiled on that V8 itself, Node.js 0.12.18's
//   (tv/compile.js), and reported with the engine's own message. A `const`
//   that it takes outside strict mode is reported too: V8 3.28 runs it as
//   its older const, scoped to the function and not to the block.
// - Built-ins: the files are type-checked, with the options of
//   scripts/check-types.sh, against the TV engine's library
//   (types/tv/engine.d.ts, made by probing that V8: tv/engine-types.js) and
//   the public declarations (types/tether.d.ts, kite.d.ts, sim.d.ts;
//   kite-test.d.ts for *.test.js); and again against the desktop's library
//   (es2022). Only what the TV's library adds is reported: a diagnostic
//   that the desktop's check gives too (same file, place and code, or the
//   same complaint of a missing property or name with another code) is
//   left out, as the desktop's type check reports it. `@ts-nocheck`,
//   `@ts-ignore` and `@ts-expect-error` hide nothing here.
// - Output of `kite build --target=tv`: the lines between
//   "/* kite build --target=tv: runtime */" and "/* kite build --target=tv:
//   app */" install what the app needs. That section is run on V8 3.28 and
//   the engine probed after it; the file and those given after it (the
//   files of a page share its globals, in the order given) are checked
//   against that engine. Its own lines are not type-checked: they ran.
// Each problem is printed as FILE:LINE:COLUMN: MESSAGE, by file in the
// order given and by line, the syntax of a file first. Exit status: 0 when
// nothing is rejected, 1 when something is, 2 on bad input (no files, a
// file that cannot be read or that is no JavaScript on the desktop's
// engine either).
"use strict";
const childProcess = require("child_process");
const fs = require("fs");
const path = require("path");
const vm = require("vm");
const paths = require("./paths.js");
const runtimeSection = require("./runtime-section.js");
const { located } = require("./compile.js");
const engineTypes = require("./engine-types.js");

const ENGINE = "the TV's engine (V8 3.28)";
const ENGINE_ = "The TV's engine (V8 3.28)";
const COMMAND = paths.commandName("tv/check.js");

class BadInput extends Error {}

// The files to check: {arg, abs, source, test, section}.
// The arguments: FILE..., or -- and then FILE... when a file's name starts
// with "-" (there are no options).
function readInputs(args) {
  const usage = "usage: node tv/check.js [--] FILE...";
  const end = args.indexOf("--");
  const option = args.slice(0, end < 0 ? args.length : end).find((arg) => arg.startsWith("-"));
  if (option) throw new BadInput(`unknown option ${option}\n${usage}`);
  const names = end < 0 ? args : [...args.slice(0, end), ...args.slice(end + 1)];
  if (names.length === 0) throw new BadInput(`no files given\n${usage}`);
  const files = [];
  const seen = new Set();
  for (const arg of names) {
    const abs = path.resolve(arg);
    if (seen.has(abs)) continue;
    seen.add(abs);
    let source;
    try {
      if (fs.statSync(abs).isDirectory()) throw new BadInput(`${arg}: is a folder; give the script files`);
      source = fs.readFileSync(abs, "utf8");
    } catch (e) {
      if (e instanceof BadInput) throw e;
      throw new BadInput(e.code === "ENOENT" ? `${arg}: no such file`
        : `${arg}: cannot read: ${String(e.message).replace(/, \w+ '.*'$/, "")}`);
    }
    try {
      new vm.Script(source, { filename: arg });
    } catch (e) {
      if (!(e instanceof SyntaxError)) throw e;
      const where = located(e, arg);
      throw new BadInput(`${arg}:${where.line}:${where.column}: ${where.message} ` +
        "(a syntax error on the desktop's engine too, not a matter of the TV's: fix it first)");
    }
    const section = runtimeSection.find(source);
    if (section && section.error) throw new BadInput(`${arg}: ${section.error}`);
    files.push({ arg, abs, source, test: /\.test\.js$/.test(abs), section });
  }
  return files;
}

// What V8 3.28 says of each file: {ok} or {line, column, message}.
function compileOnTv(files) {
  if (!fs.existsSync(paths.tvNode)) {
    throw new Error(`the TV engine's V8 (Node.js 0.12.18) is missing at ${paths.tvNode}; run scripts/setup.sh`);
  }
  const run = childProcess.spawnSync(paths.tvNode, [path.join(__dirname, "compile.js"), ...files.map((f) => f.abs)], {
    encoding: "utf8",
    maxBuffer: 64 << 20,
    timeout: 60000,
  });
  let answers = null;
  try {
    answers = run.status === 0 ? JSON.parse(run.stdout) : null;
  } catch (e) {
    // Reported below.
  }
  if (!answers || answers.length !== files.length) {
    throw new Error(`compiling on V8 3.28 failed (status ${run.status}): ${(run.stderr || run.stdout || String(run.error)).trim()}`);
  }
  return answers;
}

// The engines the files are checked against: the probed engine as it is
// (types/tv/engine.d.ts), or after the run-time sections of the files up to
// each one. Answers, by file, {key, fileName, text?, error?}.
function enginesFor(files, ts) {
  const byKey = new Map();
  const base = { key: "", fileName: paths.engineTypes };
  if (!fs.existsSync(paths.engineTypes)) throw new Error(`${paths.engineTypes} is missing: node tv/engine-types.js --write`);
  byKey.set("", base);
  const sections = [];
  return files.map((file) => {
    if (file.section) sections.push(file);
    const key = sections.map((f) => f.abs).join("\n");
    if (!byKey.has(key)) {
      const found = engineTypes.probe(sections.map((f) => f.abs));
      if (found.error) {
        byKey.set(key, { ...base, error: found.error });
      } else {
        byKey.set(key, {
          key,
          fileName: path.join(paths.root, "types", "tv", `engine.after-${byKey.size}.d.ts`),
          text: engineTypes.generate(found, { ts }).text,
        });
      }
    }
    return byKey.get(key);
  });
}

// The text TypeScript reads of a checked file: with its comment directives
// that silence the checker (@ts-nocheck, @ts-ignore, @ts-expect-error)
// made inert, at the same places.
function withoutSilencers(source) {
  return source.replace(/(\/\/|\/\*+)(\s*)@ts-(nocheck|ignore|expect-error)/g, "$1$2@tv-$3");
}

// A compiler host that parses each file once for all the programs.
function sharedHost(ts, options, texts) {
  const host = ts.createCompilerHost(options);
  const read = host.getSourceFile;
  const cache = new Map();
  host.getSourceFile = (fileName, languageVersionOrOptions, onError, shouldCreateNewSourceFile) => {
    const version = typeof languageVersionOrOptions === "object"
      ? `${languageVersionOrOptions.languageVersion}/${languageVersionOrOptions.impliedNodeFormat}`
      : String(languageVersionOrOptions);
    const id = `${fileName}\n${version}`;
    if (!cache.has(id)) {
      const key = path.resolve(fileName);
      cache.set(id, texts.has(key)
        ? ts.createSourceFile(fileName, texts.get(key), languageVersionOrOptions, true)
        : read.call(host, fileName, languageVersionOrOptions, onError, shouldCreateNewSourceFile));
    }
    return cache.get(id);
  };
  const fileExists = host.fileExists;
  host.fileExists = (fileName) => texts.has(path.resolve(fileName)) || fileExists.call(host, fileName);
  const readFile = host.readFile;
  host.readFile = (fileName) => (texts.has(path.resolve(fileName)) ? texts.get(path.resolve(fileName)) : readFile.call(host, fileName));
  return host;
}

// The node whose text starts at `pos`, the innermost.
function nodeAt(ts, sf, pos) {
  let found = null;
  (function visit(node) {
    if (node.getStart(sf) <= pos && pos < node.getEnd()) {
      if (node.getStart(sf) === pos) found = node;
      ts.forEachChild(node, visit);
    }
  })(sf);
  return found;
}

// What the TV's engine lacks, said after TypeScript's message: the name of
// the built-in when it can tell.
function hintFor(ts, program, d) {
  // Cannot find name 'X' (and the same with a suggestion); 'X' only
  // refers to a type (its interface is declared, its value is missing).
  const CANNOT_FIND = [2304, 2552, 2582, 2583, 2584, 2585, 2693];
  const name = /'([^']+)'/.exec(ts.flattenDiagnosticMessageText(d.messageText, "\n"));
  if (CANNOT_FIND.includes(d.code) && name) return `${ENGINE_} has no ${name[1]}.`;
  const node = d.file && nodeAt(ts, d.file, d.start);
  const access = node && node.parent && ts.isPropertyAccessExpression(node.parent) && node.parent.name === node
    ? node.parent : null;
  if (access) {
    const checker = program.getTypeChecker();
    const type = checker.getApparentType(checker.getTypeAtLocation(access.expression));
    const symbol = type.getSymbol() || type.aliasSymbol;
    if (symbol) {
      let owner = checker.getFullyQualifiedName(symbol);
      const aliases = { ReadonlyArray: "Array", ReadonlyMap: "Map", ReadonlySet: "Set", CallableFunction: "Function", NewableFunction: "Function" };
      owner = aliases[owner] || owner;
      const constructorOf = /^(.*)Constructor$/.exec(owner);
      const value = symbol.valueDeclaration;
      let where;
      if (constructorOf) where = `${constructorOf[1]}.`;
      else if (value && ts.isVariableDeclaration(value) && value.type && value.type.getText() === symbol.name) where = `${owner}.`;
      else if (/^[A-Z]/.test(owner) && !owner.includes("{")) where = `${owner}.prototype.`;
      if (where) return `${ENGINE_} has no ${where}${access.name.text}.`;
    }
  }
  return `${ENGINE_} lacks a built-in that this needs.`;
}

// TypeScript's message, without its advice to change the `lib` option.
function messageOf(ts, d) {
  return ts.flattenDiagnosticMessageText(d.messageText, "\n")
    .split("\n").map((line) => line.trim()).join(" ")
    .replace(/\s*Do you need to change your target library\?.*$/, "")
    .replace(/\s*Try changing the 'lib' compiler option.*$/, "");
}

// Codes that say the same thing at the same place: a missing property, a
// missing name (with or without a suggestion).
const SAME_COMPLAINT = [[2339, 2550, 2551], [2304, 2552, 2582, 2583, 2584, 2585, 2693]];
function complaintOf(code) {
  const family = SAME_COMPLAINT.findIndex((codes) => codes.includes(code));
  return family >= 0 ? `family${family}` : String(code);
}

// The built-ins that the TV's engine lacks, for the files that V8 3.28
// compiles or not, and a run-time section that throws there:
// [{file, group, line, column, text}].
function checkBuiltIns(files, ts) {
  const engines = enginesFor(files, ts);
  const problems = [];
  engines.forEach((engine, i) => {
    if (engine.error && files[i].section) {
      const e = engine.error;
      const failing = files.find((f) => f.abs === e.file);
      if (failing === files[i]) {
        problems.push({ file: i, group: 0, line: e.line, column: e.column,
          text: `the run-time section throws on ${ENGINE}: ${e.message}` });
      }
    }
  });
  const texts = new Map(files.map((f) => [f.abs, withoutSilencers(f.source)]));
  for (const engine of new Set(engines)) if (engine.text) texts.set(path.resolve(engine.fileName), engine.text);
  const common = {
    noEmit: true,
    allowJs: true,
    checkJs: true,
    strict: true,
    noImplicitAny: false,
    target: ts.ScriptTarget.ES2022,
    moduleDetection: ts.ModuleDetectionKind.Force,
    types: [],
  };
  const desktopOptions = { ...common, lib: ["lib.es2022.d.ts"] };
  const tvOptions = { ...common, noLib: true };
  const host = sharedHost(ts, desktopOptions, texts);
  const declarations = (test) => [...paths.publicTypes, ...(test ? [paths.testTypes] : [])];
  const diagnostics = (program, file) => {
    const sf = program.getSourceFile(file.abs);
    return [...program.getSyntacticDiagnostics(sf), ...program.getSemanticDiagnostics(sf)];
  };

  // The desktop's diagnostics, by file: the complaints to leave out.
  const desktop = new Map();
  for (const test of [false, true]) {
    const group = files.filter((f) => f.test === test);
    if (!group.length) continue;
    const program = ts.createProgram([...declarations(test), ...group.map((f) => f.abs)], desktopOptions, host);
    for (const file of group) {
      desktop.set(file, new Set(diagnostics(program, file).map((d) => `${d.start}:${complaintOf(d.code)}`)));
    }
  }
  // The TV's, by engine and kind of file.
  const groups = new Map();
  files.forEach((file, i) => {
    const id = `${engines[i].key}\n${file.test}`;
    if (!groups.has(id)) groups.set(id, { engine: engines[i], test: file.test, members: [] });
    groups.get(id).members.push(i);
  });
  for (const group of groups.values()) {
    const roots = [group.engine.fileName, ...declarations(group.test), ...group.members.map((i) => files[i].abs)];
    const program = ts.createProgram(roots, tvOptions, host);
    for (const i of group.members) {
      const file = files[i];
      const known = desktop.get(file);
      for (const d of diagnostics(program, file)) {
        if (d.start === undefined || known.has(`${d.start}:${complaintOf(d.code)}`)) continue;
        const where = d.file.getLineAndCharacterOfPosition(d.start);
        if (file.section && where.line >= file.section.start && where.line <= file.section.end) continue;
        problems.push({ file: i, group: 1, line: where.line + 1, column: where.character + 1,
          text: `${messageOf(ts, d)} ${hintFor(ts, program, d)}` });
      }
    }
  }
  return problems;
}

// `const` outside strict mode, which V8 3.28 compiles as its older const.
function legacyConsts(ts, file, index) {
  const sf = ts.createSourceFile(file.abs, file.source, ts.ScriptTarget.Latest, true, ts.ScriptKind.JS);
  const found = [];
  (function visit(node) {
    if (ts.isVariableDeclarationList(node) && (node.flags & ts.NodeFlags.BlockScoped) === ts.NodeFlags.Const) {
      const where = sf.getLineAndCharacterOfPosition(node.getStart(sf));
      const inSection = file.section && where.line >= file.section.start && where.line <= file.section.end;
      if (!inSection) {
        found.push({ file: index, group: 0, line: where.line + 1, column: where.character + 1,
          text: "const outside strict mode: V8 3.28 runs it as its older const, scoped to the function and " +
            "not to the block (write var)" });
      }
    }
    ts.forEachChild(node, visit);
  })(sf);
  return found;
}

function main(args) {
  let files;
  try {
    files = readInputs(args);
  } catch (e) {
    if (!(e instanceof BadInput)) throw e;
    process.stderr.write(`${COMMAND}: ${e.message}\n`);
    return 2;
  }
  let ts;
  try {
    ts = require(paths.typescript);
  } catch (e) {
    throw new Error(`TypeScript is missing at ${paths.typescript}; run scripts/setup.sh`);
  }
  const problems = [];
  compileOnTv(files).forEach((answer, i) => {
    if (answer.ok) problems.push(...legacyConsts(ts, files[i], i));
    else problems.push({ file: i, group: 0, line: answer.line, column: answer.column, text: answer.message });
  });
  problems.push(...checkBuiltIns(files, ts));
  problems.sort((a, b) => a.file - b.file || a.group - b.group || a.line - b.line || a.column - b.column);
  if (problems.length === 0) {
    process.stdout.write(files.length === 1
      ? `${COMMAND}: 1 file passes: ${ENGINE} parses it and has the built-ins it uses\n`
      : `${COMMAND}: ${files.length} files pass: ${ENGINE} parses them and has the built-ins they use\n`);
    return 0;
  }
  for (const p of problems) process.stdout.write(`${files[p.file].arg}:${p.line}:${p.column}: ${p.text}\n`);
  const failing = new Set(problems.map((p) => p.file)).size;
  process.stdout.write(`${COMMAND}: ${ENGINE} would reject ${failing} of ${files.length} ` +
    `file${files.length === 1 ? "" : "s"} (${problems.length} problem${problems.length === 1 ? "" : "s"})\n`);
  return 1;
}

if (require.main === module) {
  try {
    process.exitCode = main(process.argv.slice(2));
  } catch (e) {
    process.stderr.write(`${COMMAND}: ${e.message}\n`);
    process.exitCode = 2;
  }
}

module.exports = { main };
