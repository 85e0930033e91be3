#!/usr/bin/env node
// tv/build.js --out=DIR PATH...: builds an app's scripts down to what the TV's
// engine runs (V8 3.28: ES5, and a few newer built-ins), with swc.
//
// PATHs are the app's scripts in load order; a folder stands for its *.js
// files. Each script is compiled into DIR, at its path relative to the common
// folder of the inputs, with a source map beside it. The helpers and
// polyfills that the output needs are bundled once, into a run-time section
// at the top of the first script: the TV has no module system, and its
// scripts share one global scope, so the others find the section's loader
// there. Bad input ends with status 2 and nothing written.
"use strict";
const childProcess = require("child_process");
const fs = require("fs");
const path = require("path");
const paths = require("./paths");

const USAGE = "usage: tv/build.js --out=DIR [--] PATH...";
// Tools that read a build find the run-time section between these lines.
const { RUNTIME_MARK: RUNTIME_BEGIN, APP_MARK: RUNTIME_END } = require("./runtime-section.js");
// It replaces swc's `require` in the output: as long, so that columns, and
// the source maps with them, stay right.
const LOADER = "$tvload";
// What the output may require: swc's helpers and core-js's polyfills.
const RUNTIME_PACKAGES = ["@swc/helpers/", "core-js/"];
const POLYFILLS = "core-js/modules/";

// Bad input: the message is for the developer, and the status is 2.
class BuildError extends Error {}

function parseArguments(args) {
  let out = null;
  const inputs = [];
  let optionsEnded = false;
  for (const arg of args) {
    if (optionsEnded) inputs.push(arg);
    else if (arg === "--") optionsEnded = true;
    else if (arg.startsWith("--out=")) out = arg.slice("--out=".length);
    else if (arg === "--out") throw new BuildError("--out needs a folder: --out=DIR\n" + USAGE);
    else if (arg.startsWith("--")) throw new BuildError(`unknown option ${arg}\n${USAGE}`);
    else inputs.push(arg);
  }
  if (!out) throw new BuildError("no output folder: --out=DIR is missing\n" + USAGE);
  if (inputs.length === 0) throw new BuildError("no scripts: name the app's scripts or folders in load order\n" + USAGE);
  return { out: path.resolve(out), inputs };
}

const isInside = (folder, file) => {
  const relative = path.relative(folder, file);
  return relative === "" || (!relative.startsWith("..") && !path.isAbsolute(relative));
};

// The scripts in load order, each once; a folder's *.js files in name order,
// without node_modules, dot-folders (build folders in the making among them)
// and the output folder.
function listScripts(inputs, outDir) {
  const scripts = [];
  const roots = [];
  const add = (file) => {
    if (!scripts.includes(file)) scripts.push(file);
  };
  const walk = (folder) => {
    const entries = fs.readdirSync(folder, { withFileTypes: true }).sort((a, b) => (a.name < b.name ? -1 : 1));
    for (const entry of entries) {
      const full = path.join(folder, entry.name);
      if (entry.isDirectory()) {
        if (!entry.name.startsWith(".") && entry.name !== "node_modules" && full !== outDir) walk(full);
      } else if (entry.name.endsWith(".js") && fs.statSync(full, { throwIfNoEntry: false })?.isFile()) {
        add(full);
      }
    }
  };
  for (const input of inputs) {
    const full = path.resolve(input);
    const stat = fs.statSync(full, { throwIfNoEntry: false });
    if (!stat) throw new BuildError(`${input}: no such file or folder`);
    if (isInside(outDir, full)) throw new BuildError(`${input} is inside the output folder, which the build replaces`);
    if (stat.isDirectory()) {
      const before = scripts.length;
      walk(full);
      if (scripts.length === before) throw new BuildError(`${input}: the folder holds no scripts (*.js)`);
      roots.push(full);
    } else {
      add(full);
      roots.push(path.dirname(full));
    }
  }
  return { scripts, base: roots.reduce(commonFolder) };
}

// Paths as the developer would type them: relative below the current folder.
const shownPath = (file) => (isInside(process.cwd(), file) ? path.relative(process.cwd(), file) || "." : file);

function commonFolder(a, b) {
  while (!isInside(a, b)) a = path.dirname(a);
  return a;
}

// The build replaces the output folder: only one that holds nothing but a
// former build (scripts and their maps), and none that holds the app or the
// folder the build runs in.
function checkOutputFolder(outDir) {
  const shown = `--out=${shownPath(outDir)}`;
  if (isInside(outDir, process.cwd())) throw new BuildError(`${shown} holds the current folder; the build would replace it`);
  const stat = fs.statSync(outDir, { throwIfNoEntry: false });
  if (!stat) return;
  if (!stat.isDirectory()) throw new BuildError(`${shown} is not a folder`);
  const foreign = (folder) => {
    for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
      const full = path.join(folder, entry.name);
      if (entry.isDirectory()) {
        const found = foreign(full);
        if (found) return found;
      } else if (!/\.js(\.map)?$/.test(entry.name)) {
        return full;
      }
    }
    return null;
  };
  const found = foreign(outDir);
  if (found) throw new BuildError(`${shown} holds ${shownPath(found)}, which no build wrote; choose a folder of the build's own`);
}

function loadSwc() {
  try {
    return {
      swc: require(path.join(paths.buildModules, "@swc/core")),
      coreJsVersion: require(path.join(paths.buildModules, "core-js", "package.json")).version,
      // As require.resolve answers paths: through symbolic links.
      modulesRoot: fs.realpathSync(paths.buildModules),
    };
  } catch (error) {
    throw new Error(`swc or core-js is missing from ${paths.buildModules} (${error.message}); run scripts/setup.sh`);
  }
}

function swcOptions(filename, coreJsVersion) {
  return {
    filename,
    sourceMaps: true,
    // The TV has no modules: each script runs in the page's global scope.
    isModule: false,
    // The build is the same for every app, whatever .swcrc lies around.
    swcrc: false,
    configFile: false,
    // `using` is parsed, so that what it needs is refused by name below
    // rather than by a parser option the app's developer does not set.
    jsc: { parser: { syntax: "ecmascript", explicitResourceManagement: true }, externalHelpers: true },
    // V8 3.28 shipped in Chrome 38.
    env: { targets: { chrome: "38" }, mode: "usage", coreJs: coreJsVersion },
  };
}

// Display columns as swc's report draws them: tabs stop every 4 columns,
// wide characters take two.
const WIDE = /[\u1100-\u115F\u2E80-\uA4CF\uAC00-\uD7A3\uF900-\uFAFF\uFE30-\uFE4F\uFF00-\uFF60\uFFE0-\uFFE6\u{20000}-\u{3FFFD}]|\p{Emoji_Presentation}/u;
function columnOf(line, displayColumn) {
  let shown = 0;
  let column = 1;
  for (const char of line) {
    if (shown >= displayColumn) break;
    shown = char === "\t" ? shown + 4 - (shown % 4) : shown + (WIDE.test(char) ? 2 : 1);
    column++;
  }
  return column;
}

// swc's report, headed by FILE:LINE:COLUMN: MESSAGE for editors.
function syntaxError(name, source, error) {
  const report = String(error && error.message ? error.message : error).split("\n\nCaused by:")[0].replace(/\s+$/, "");
  const lines = report.split("\n");
  const message = (lines[0] || "").replace(/^\s*x\s*/, "");
  const where = /,-\[(.*):(\d+):(\d+)\]$/.exec(lines[1] || "");
  if (!where) return new BuildError(`${name}: ${report}`);
  const line = Number(where[2]);
  let column = Number(where[3]);
  const codeIndex = lines.findIndex((text) => new RegExp(`^\\s*${line} \\| `).test(text));
  const caret = codeIndex < 0 ? -1 : (lines[codeIndex + 1] || "").indexOf("^");
  if (caret >= 0) {
    const gutter = lines[codeIndex].indexOf("|") + 2;
    column = columnOf(source.split(/\r?\n/)[line - 1] || "", caret - gutter);
  }
  return new BuildError(`${name}:${line}:${column}: ${message}\n${lines.slice(1).join("\n")}`);
}

// swc puts what its output needs at the top as statements of their own,
// `var _x = require("@swc/helpers/_/_x");` or `require("core-js/modules/m.js");`:
// found in the parsed output, so that nothing in the app's own strings or
// comments is taken for them, and turned into calls of the loader.
function takeRuntimeRequests(swc, code) {
  // Spans are byte offsets from a base of swc's choosing: a leading ";" marks it.
  const program = swc.parseSync(";" + code, { syntax: "ecmascript", isModule: false });
  const base = program.body[0].span.start + 1;
  const bytes = Buffer.from(code);
  const requests = [];
  for (const statement of program.body.slice(1)) {
    const call = statement.type === "ExpressionStatement" ? statement.expression
      : statement.type === "VariableDeclaration" && statement.declarations.length === 1 ? statement.declarations[0].init
      : null;
    const isRuntimeRequire = call && call.type === "CallExpression" &&
      call.callee.type === "Identifier" && call.callee.value === "require" &&
      call.arguments.length === 1 && call.arguments[0].expression.type === "StringLiteral" &&
      RUNTIME_PACKAGES.some((prefix) => call.arguments[0].expression.value.startsWith(prefix));
    if (!isRuntimeRequire) continue;
    requests.push(call.arguments[0].expression.value);
    bytes.write(LOADER, call.callee.span.start - base, "latin1");
  }
  return { code: bytes.toString(), requests };
}

// Node 20.19 and later resolve the helpers' `_/NAME` to their ES module form
// (the "module-sync" condition); the registry runs the CommonJS twin.
const commonJsRequest = (request) => request.replace(/^@swc\/helpers\/_\/(.*)$/, "@swc/helpers/cjs/$1.cjs");

function resolveModule(modulesRoot, request, fromFolder) {
  let file;
  try {
    file = require.resolve(commonJsRequest(request), { paths: [fromFolder] });
  } catch (error) {
    throw new Error(`cannot find ${request} in ${paths.buildModules}; run scripts/setup.sh`);
  }
  if (!isInside(modulesRoot, file)) throw new Error(`${request} resolved outside ${paths.buildModules}: ${file}`);
  return file;
}

// The modules that the scripts' requests ({request, script}) need, with all
// that they require in turn, each once, in the order first needed. The
// helpers use built-ins too (Array.from, Symbol.iterator) that swc's analysis
// of the scripts does not see: polyfillsOf(helper) adds what those need.
function gatherModules(modulesRoot, requests, polyfillsOf) {
  const modules = [];
  const indexOf = new Map();
  const queue = [];
  const ask = (request, script) => {
    if (!queue.some((queued) => queued.request === request)) queue.push({ request, script });
  };
  const add = (file, neededBy) => {
    if (indexOf.has(file)) return indexOf.get(file);
    const module = { name: path.relative(modulesRoot, file), source: fs.readFileSync(file, "utf8"), neededBy, requires: {} };
    indexOf.set(file, modules.length);
    modules.push(module);
    // core-js and the helpers require plain string literals only.
    for (const [, , request] of module.source.matchAll(/\brequire\((["'])([^"'\n]+)\1\)/g)) {
      module.requires[request] = add(resolveModule(modulesRoot, request, path.dirname(file)), neededBy);
    }
    if (module.name.startsWith("@swc/helpers/")) polyfillsOf(module).forEach((request) => ask(request, neededBy));
    return indexOf.get(file);
  };
  requests.forEach(({ request, script }) => ask(request, script));
  const entries = {};
  for (let i = 0; i < queue.length; i++) {
    const { request, script } = queue[i];
    entries[request] = add(resolveModule(modulesRoot, request, path.dirname(modulesRoot)), script);
  }
  return { modules, entries };
}

const wrapModule = (source) => `function (module, exports, require) {\n${source}\n}`;

// ES5: a registry of the modules, the polyfills run at once, and one global
// loader for the scripts' helpers.
function runtimeSection({ modules, entries }) {
  const polyfills = Object.keys(entries).filter((request) => request.startsWith(POLYFILLS)).map((request) => entries[request]);
  const definitions = modules.map((module, index) =>
    `/* ${index}: ${module.name} */ [${wrapModule(module.source)}, ${JSON.stringify(module.requires)}]`);
  return `${RUNTIME_BEGIN}
var ${LOADER} = (function (definitions, entries, polyfills) {
  var loaded = [];
  function find(requests, request) {
    if (!Object.prototype.hasOwnProperty.call(requests, request)) {
      throw new Error("the TV build's run-time section holds no " + request);
    }
    return requests[request];
  }
  function load(index) {
    if (loaded[index]) return loaded[index].exports;
    var module = loaded[index] = { exports: {} };
    var requests = definitions[index][1];
    definitions[index][0].call(module.exports, module, module.exports, function (request) {
      return load(find(requests, request));
    });
    return module.exports;
  }
  for (var i = 0; i < polyfills.length; i++) load(polyfills[i]);
  return function (request) {
    return load(find(entries, request));
  };
})([
${definitions.join(",\n")}
], ${JSON.stringify(entries)}, ${JSON.stringify(polyfills)});
${RUNTIME_END}
`;
}

// Each module as the section holds it, then the section whole.
function checkOnTvEngine(modules, section) {
  if (!fs.existsSync(paths.tvNode)) throw new Error(`the TV engine's V8 is missing (${paths.tvNode}); run scripts/setup.sh`);
  const entries = modules.map((module) => ({ name: module.name, code: `(${wrapModule(module.source)})` }));
  entries.push({ name: "the run-time section", code: section });
  const run = childProcess.spawnSync(paths.tvNode, [path.join(__dirname, "compile.js"), "-"], {
    input: JSON.stringify(entries), encoding: "utf8", timeout: 120000, maxBuffer: 64 << 20,
  });
  if (run.status !== 0) throw new Error(`the TV engine's V8 could not check the run-time section: ${run.error || run.stderr}`);
  const failure = JSON.parse(run.stdout).find((result) => !result.ok);
  if (!failure) return;
  const module = modules.find((candidate) => candidate.name === failure.file);
  const text = entries.find((entry) => entry.name === failure.file).code.split("\n")[failure.line - 1] || "";
  const where = (line) => `line ${line}: ${failure.message}\n  ${text.trim()}`;
  if (!module) throw new Error(`the run-time section does not parse on the TV's engine (V8 3.28): ${where(failure.line)}`);
  // Less the wrapper's first line.
  throw new BuildError(`${shownPath(module.neededBy)} needs ${module.name}, ` +
    `which the TV's engine (V8 3.28) cannot parse: ${where(failure.line - 1)}`);
}

// The section goes at the top of the first script, after a "use strict"
// prologue if it has one, so that the prologue still applies to the script.
function insertSection(built, section) {
  const prologue = /^(?:(["'])use strict\1;?[^\n]*\n)*/.exec(built.code)[0];
  const linesBefore = prologue.split("\n").length - 1;
  built.code = prologue + section + built.code.slice(prologue.length);
  const mappings = built.map.mappings.split(";");
  mappings.splice(linesBefore, 0, ...new Array(section.split("\n").length - 1).fill(""));
  built.map.mappings = mappings.join(";");
}

function compile(swc, coreJsVersion, file, base, outDir) {
  const name = shownPath(file);
  const source = fs.readFileSync(file, "utf8");
  let output;
  try {
    output = swc.transformSync(source, swcOptions(name, coreJsVersion));
  } catch (error) {
    throw syntaxError(name, source, error);
  }
  const relative = path.relative(base, file);
  const outFile = path.join(outDir, relative);
  const { code, requests } = takeRuntimeRequests(swc, output.code);
  const map = JSON.parse(output.map);
  map.file = path.basename(relative);
  map.sources = [path.relative(path.dirname(outFile), file).split(path.sep).join("/")];
  return { file, relative, code, map, requests };
}

// Writes beside the output folder and swaps it in at the end, so that the
// folder holds either the former build or the whole new one.
function writeBuild(outDir, builtScripts) {
  const parent = path.dirname(outDir);
  const staging = path.join(parent, `.${path.basename(outDir)}.building-${process.pid}`);
  const former = path.join(parent, `.${path.basename(outDir)}.former-${process.pid}`);
  fs.mkdirSync(parent, { recursive: true });
  try {
    for (const built of builtScripts) {
      const target = path.join(staging, built.relative);
      const mapName = path.basename(target) + ".map";
      fs.mkdirSync(path.dirname(target), { recursive: true });
      fs.writeFileSync(target, `${built.code.replace(/\n?$/, "\n")}//# sourceMappingURL=${mapName}\n`);
      fs.writeFileSync(target + ".map", JSON.stringify(built.map));
    }
    const hadFormer = fs.existsSync(outDir);
    if (hadFormer) fs.renameSync(outDir, former);
    fs.renameSync(staging, outDir);
    if (hadFormer) fs.rmSync(former, { recursive: true, force: true });
  } finally {
    fs.rmSync(staging, { recursive: true, force: true });
  }
}

function build(args) {
  const { out, inputs } = parseArguments(args);
  checkOutputFolder(out);
  const { scripts, base } = listScripts(inputs, out);
  const { swc, coreJsVersion, modulesRoot } = loadSwc();
  const builtScripts = scripts.map((file) => compile(swc, coreJsVersion, file, base, out));

  const requests = builtScripts.flatMap((built) => built.requests.map((request) => ({ request, script: built.file })));
  // The polyfills that swc finds a helper's code needs, the helper kept as it is.
  const polyfillsOf = (helper) => takeRuntimeRequests(swc, swc.transformSync(helper.source, swcOptions(helper.name, coreJsVersion)).code)
    .requests.filter((request) => request.startsWith(POLYFILLS));
  let section = "";
  if (requests.length > 0) {
    const gathered = gatherModules(modulesRoot, requests, polyfillsOf);
    section = runtimeSection(gathered);
    checkOnTvEngine(gathered.modules, section);
    insertSection(builtScripts[0], section);
  }
  writeBuild(out, builtScripts);
  const count = scripts.length === 1 ? "1 script" : `${scripts.length} scripts`;
  console.log(`built ${count} for the TV into ${shownPath(out)}; ` +
    `run-time section: ${Buffer.byteLength(section)} bytes`);
}

try {
  build(process.argv.slice(2));
} catch (error) {
  console.error(`${paths.commandName("tv/build.js")}: ${error instanceof BuildError ? error.message : error.stack || error}`);
  process.exitCode = error instanceof BuildError ? 2 : 1;
}
