// kite.load runs a file in the global scope of the test file, as <script>
// tags of one page share theirs, with its path relative to the test file,
// and answers the file's completion value.
const app = kite.load("lib/app_like.js");

function attempt(run) {
  try {
    return run();
  } catch (error) {
    return String(error);
  }
}

// Each row: what is checked, and what it gives.
const rows = [
  ["the completion value", () => app.greet === greet, true],
  ["its declarations are the page's", () => greet("you"), "hello, you"],
  ["its const is seen here too", () => greeting, "hello"],
  ["loading it again declares its const twice", () => attempt(() => kite.load("lib/app_like.js")),
    "SyntaxError: Identifier 'greeting' has already been declared"],
  ["const { greeter } = kite.load() of a file that declares greeter", () => attempt(() => kite.load("lib/destructures.js")),
    "SyntaxError: Identifier 'greeter' has already been declared"],
  ["a file that is not there", () => attempt(() => kite.load("lib/missing.js")).replace(/ [^ ]*\/lib\//, " lib/"),
    "Error: kite.load: cannot read lib/missing.js: No such file or directory"],
  ["a file that does not compile", () => attempt(() => kite.load("../scripts/syntax_error.js")),
    "SyntaxError: Unexpected token ';'"],
  ["the file's own exception, as it is", () => attempt(() => kite.load("../scripts/uncaught_value.js")), "42"],
  ["no path", () => attempt(() => kite.load(/** @type {any} */ (5))), "TypeError: kite.load: the argument must be a path"],
  // Only the report shortens paths.
  ["error.stack names its files by absolute path", () => /^    at \/.*\/runner\/load\.test\.js:\d+:\d+$/.test(
    new Error("here").stack.split("\n")[1]), true],
  ["so does a loaded file's", () => /^    at Object\.where \(\/.*\/runner\/lib\/app_like\.js:8:10\)$/.test(app.where()), true],
];
for (const [name, run, expected] of rows) {
  test(name, () => assert.equal(run(), expected));
}
