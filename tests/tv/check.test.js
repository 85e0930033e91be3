// tv/check.js over a table of small scripts, written to a temporary folder:
// the exact lines it prints for each and its exit status.
//   node tests/tv/check.test.js
// The rows that need no run-time section are checked together, in one run
// (each TypeScript program costs a second or two): each row's lines, in the
// order of the rows, then the rows that pass, alone, with status 0.
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

const check = path.resolve(__dirname, "..", "..", "tv", "check.js");
const TV = "The TV's engine (V8 3.28)";
const CONST_HINT = "const outside strict mode: V8 3.28 runs it as its older const, scoped to the function and " +
  "not to the block (write var)";

// Each row: a file, its text, and the lines tv/check.js prints for it.
const ROWS = [
  ["es5.js", [
    "var seen = new Map();",
    "var names = new Set(['a']);",
    "var cache = new WeakMap();",
    "var key = Symbol('key');",
    "var done = new Promise(function (resolve) { resolve(Object.keys({ a: 1 }).join(',')); });",
    "done.then(function (text) { seen.set(text.trim().toUpperCase(), [1, 2].indexOf(2)); });",
    "console.log(JSON.stringify({ n: Math.max(1, 2), k: typeof key, s: names.size, c: cache.has({}) }));",
  ], []],
  ["promise_map.js", [
    "var answers = new Map();",
    "Promise.all([Promise.resolve(1)]).then(function (all) { answers.set('all', all); });",
  ], []],
  // A typing mistake that the desktop's check reports too is not the TV's,
  // though the TV's library reports it as well, under another code for the
  // misspelt method ('startWith': no "did you mean" without startsWith).
  ["typing_mistake.js", [
    "var count = 1;",
    "count.toUpperCase();",
    "parseInt();",
    "var text = 'x'.startWith('x');",
  ], []],
  ["strict_const.js", ['"use strict";', "var a = 1;", "  const b = 2;"], [
    "strict_const.js:3:3: Use of const in strict mode.",
  ]],
  ["let.js", ["var a = 1;", "let b = 2;"], ["let.js:2:5: Unexpected identifier"]],
  ["arrow.js", ["var id = function (a) { return a; };", "var twice = (a) => a * 2;"], [
    "arrow.js:2:17: Unexpected token =>",
  ]],
  ["class.js", ["", "class Film {}"], ["class.js:2:1: Unexpected reserved word"]],
  ["template.js", ["var name = 'x';", "var line = `name: ${name}`;"], ["template.js:2:12: Unexpected token ILLEGAL"]],
  ["destructuring.js", ["var o = { a: 1 };", "var { a } = o;"], ["destructuring.js:2:5: Unexpected token {"]],
  ["defaults.js", ["function f(a, b = 2) { return a + b; }"], ["defaults.js:1:17: Unexpected token ="]],
  ["spread.js", ["var a = [1, 2];", "Math.max(...a);"], ["spread.js:2:10: Unexpected token ."]],
  // for...of it has.
  ["for_of.js", ["var sum = 0;", "for (var n of [1, 2]) sum += n;"], []],
  // V8 3.28 takes const outside strict mode, with other rules.
  ["sloppy_const.js", ["var fns = [];", "for (var i = 0; i < 2; i++) {", "  const v = i;", "}"], [
    `sloppy_const.js:3:3: ${CONST_HINT}`,
  ]],
  ["assign.js", ["var options = Object.assign({}, { loop: true });"], [
    `assign.js:1:22: Property 'assign' does not exist on type 'ObjectConstructor'. ${TV} has no Object.assign.`,
  ]],
  ["starts_with.js", ["var url = 'http://x';", "var web = url.startsWith('http');"], [
    `starts_with.js:2:15: Property 'startsWith' does not exist on type 'string'. ${TV} has no String.prototype.startsWith.`,
  ]],
  ["includes.js", ["var keys = ['ok', 'back'];", "if (keys.includes('ok')) keys.pop();"], [
    `includes.js:2:10: Property 'includes' does not exist on type 'string[]'. ${TV} has no Array.prototype.includes.`,
  ]],
  // Every use, in line order; and a missing global.
  ["every_use.js", [
    "var a = 'x'.startsWith('x');",
    "var b = Object.assign({}, {});",
    "var c = 'y'.startsWith('y') && 'y'.padStart(2) !== '';",
    "var d = new Proxy({}, {});",
  ], [
    `every_use.js:1:13: Property 'startsWith' does not exist on type '"x"'. ${TV} has no String.prototype.startsWith.`,
    `every_use.js:2:16: Property 'assign' does not exist on type 'ObjectConstructor'. ${TV} has no Object.assign.`,
    `every_use.js:3:13: Property 'startsWith' does not exist on type '"y"'. ${TV} has no String.prototype.startsWith.`,
    `every_use.js:3:36: Property 'padStart' does not exist on type '"y"'. ${TV} has no String.prototype.padStart.`,
    `every_use.js:4:13: Cannot find name 'Proxy'. ${TV} has no Proxy.`,
  ]],
  // A constructor's function, a prototype's method, a global whose type
  // alone is declared.
  ["others.js", [
    "var list = Array.from([1]);",
    "new Promise(function (resolve) { resolve(list); }).finally(function () {});",
    "var ref = new WeakRef({});",
  ], [
    `others.js:1:18: Property 'from' does not exist on type 'ArrayConstructor'. ${TV} has no Array.from.`,
    `others.js:2:52: Property 'finally' does not exist on type 'Promise<any>'. ${TV} has no Promise.prototype.finally.`,
    `others.js:3:15: 'WeakRef' only refers to a type, but is being used as a value here. ${TV} has no WeakRef.`,
  ]],
  // The syntax of a file first, then its built-ins.
  ["syntax_first.js", ["var a = [1].includes(1);", "let b = a;"], [
    "syntax_first.js:2:5: Unexpected identifier",
    `syntax_first.js:1:13: Property 'includes' does not exist on type 'number[]'. ${TV} has no Array.prototype.includes.`,
  ]],
  // The desktop's silencers hide nothing from this check.
  ["nocheck.js", ["// @ts-nocheck", "var s = 'a'.repeat(2);", "// @ts-ignore", "var t = 'b'.endsWith('b');"], [
    `nocheck.js:2:13: Property 'repeat' does not exist on type '"a"'. ${TV} has no String.prototype.repeat.`,
    `nocheck.js:4:13: Property 'endsWith' does not exist on type '"b"'. ${TV} has no String.prototype.endsWith.`,
  ]],
  // Test files have kite test's globals.
  ["keys.test.js", ["test('keys', function () {", "  assert.equal('ab'.repeat(1), 'ab');", "});"], [
    `keys.test.js:2:21: Property 'repeat' does not exist on type '"ab"'. ${TV} has no String.prototype.repeat.`,
  ]],
];

// Runs tv/check.js in `dir` over `args`: {status, stdout, stderr} as lines.
function run(dir, args) {
  const result = childProcess.spawnSync(process.execPath, [check, ...args], { cwd: dir, encoding: "utf8" });
  const lines = (text) => text.split("\n").filter((line, i, all) => line !== "" || i < all.length - 1);
  return { status: result.status, stdout: lines(result.stdout), stderr: lines(result.stderr) };
}

function write(dir, files) {
  for (const [name, text] of Object.entries(files)) fs.writeFileSync(path.join(dir, name), text);
}

const dir = fs.mkdtempSync(path.join(os.tmpdir(), "tv-check-"));
// Stops at the first case that differs, naming it above the difference.
function verify(name, actual, expected) {
  console.log(name);
  assert.deepStrictEqual(actual, expected);
}

try {
  write(dir, Object.fromEntries(ROWS.map(([name, lines]) => [name, lines.join("\n") + "\n"])));

  // All the rows at once: each row's lines, in the rows' order.
  const rejected = ROWS.filter(([, , lines]) => lines.length > 0);
  verify("the table's rows at once", run(dir, ROWS.map(([name]) => name)), {
    status: 1,
    stdout: [
      ...ROWS.flatMap(([, , lines]) => lines),
      `tv/check.js: the TV's engine (V8 3.28) would reject ${rejected.length} of ${ROWS.length} files ` +
        `(${rejected.reduce((n, [, , lines]) => n + lines.length, 0)} problems)`,
    ],
    stderr: [],
  });
  const passing = ROWS.filter(([, , lines]) => lines.length === 0).map(([name]) => name);
  verify(`the rows that pass, alone (${passing.join(" ")})`, run(dir, passing), {
    status: 0,
    stdout: [`tv/check.js: ${passing.length} files pass: the TV's engine (V8 3.28) parses them and has the built-ins they use`],
    stderr: [],
  });

  // Output of kite build --target=tv: its run-time section adds startsWith,
  // which the app and the files after it may then use; $tvload, which the
  // desktop's check does not know either, is no matter of the TV's.
  write(dir, {
    "built.js": [
      "/* kite build --target=tv: runtime */",
      "if (!String.prototype.startsWith) {",
      "  String.prototype.startsWith = function (search, at) {",
      "    return this.substr(at || 0, search.length) === search;",
      "  };",
      "}",
      "/* kite build --target=tv: app */",
      "$tvload('app.js', function () {",
      "  var web = 'http://x'.startsWith('http');",
      "});",
      "",
    ].join("\n"),
    "later.js": "var secure = 'https://x'.startsWith('https');\nvar s = 'x'.endsWith('x');\n",
    "throws.js": [
      "/* kite build --target=tv: runtime */",
      "var helpers = {};",
      "helpers.missing.call();",
      "/* kite build --target=tv: app */",
      "",
    ].join("\n"),
  });
  // As kite check runs it: files after --, one named like an option.
  fs.copyFileSync(path.join(dir, "es5.js"), path.join(dir, "-named.js"));
  verify("files after --", run(dir, ["--", "-named.js", "promise_map.js"]), {
    status: 0,
    stdout: ["tv/check.js: 2 files pass: the TV's engine (V8 3.28) parses them and has the built-ins they use"],
    stderr: [],
  });
  verify("a built file whose run-time section adds startsWith", run(dir, ["built.js"]), {
    status: 0,
    stdout: ["tv/check.js: 1 file passes: the TV's engine (V8 3.28) parses it and has the built-ins it uses"],
    stderr: [],
  });
  verify("the files after it have startsWith, those before do not", run(dir, ["later.js", "built.js", "later.js"]), {
    status: 1,
    stdout: [
      `later.js:1:26: Property 'startsWith' does not exist on type '"https://x"'. ${TV} has no String.prototype.startsWith.`,
      `later.js:2:13: Property 'endsWith' does not exist on type '"x"'. ${TV} has no String.prototype.endsWith.`,
      "tv/check.js: the TV's engine (V8 3.28) would reject 1 of 2 files (2 problems)",
    ],
    stderr: [],
  });
  verify("a run-time section that throws on V8 3.28", run(dir, ["throws.js"]), {
    status: 1,
    stdout: [
      "throws.js:3:16: the run-time section throws on the TV's engine (V8 3.28): " +
        "TypeError: Cannot read property 'call' of undefined",
      "tv/check.js: the TV's engine (V8 3.28) would reject 1 of 1 file (1 problem)",
    ],
    stderr: [],
  });

  // Bad input: status 2, a message on stderr and nothing on stdout.
  write(dir, {
    "desktop_error.js": "var ok = 1;\nvar broken = ;\n",
    "half.js": "/* kite build --target=tv: runtime */\nvar a = 1;\n",
  });
  fs.mkdirSync(path.join(dir, "folder"));
  fs.symlinkSync("loop.js", path.join(dir, "loop.js"));
  const BAD = [
    ["no files", [], ["tv/check.js: no files given", "usage: node tv/check.js [--] FILE..."]],
    ["no files after --", ["--"], ["tv/check.js: no files given", "usage: node tv/check.js [--] FILE..."]],
    ["an option", ["--fast", "es5.js"], ["tv/check.js: unknown option --fast", "usage: node tv/check.js [--] FILE..."]],
    ["a file that does not exist", ["es5.js", "missing.js"], ["tv/check.js: missing.js: no such file"]],
    ["a folder", ["folder"], ["tv/check.js: folder: is a folder; give the script files"]],
    ["a file that cannot be read", ["loop.js"], ["tv/check.js: loop.js: cannot read: ELOOP: too many symbolic links encountered"]],
    ["a syntax error on the desktop too", ["es5.js", "desktop_error.js"], [
      "tv/check.js: desktop_error.js:2:14: Unexpected token ';' " +
        "(a syntax error on the desktop's engine too, not a matter of the TV's: fix it first)",
    ]],
    ["a run-time section without its end", ["half.js"], [
      "tv/check.js: half.js: '/* kite build --target=tv: runtime */' at line 1 without the " +
        "'/* kite build --target=tv: app */' line after it",
    ]],
  ];
  for (const [name, args, stderr] of BAD) verify(`bad input: ${name}`, run(dir, args), { status: 2, stdout: [], stderr });
} finally {
  fs.rmSync(dir, { recursive: true, force: true });
}
