// Compiles scripts as an engine does, without running them, and prints as
// JSON what it said of each: [{file, ok: true} | {file, line, column,
// message}], message being the engine's own. tv/check.js runs it in
// Node.js 0.12.18 (V8 3.28, the TV engine's generation) over all the files
// at once:
//   .deps/node-v0.12.18/bin/node tv/compile.js FILE...
// and reads the desktop's verdict through located() in its own Node.js;
// tv/build.js hands it code that is in no file, as JSON [{name, code}] on
// its standard input:
//   .deps/node-v0.12.18/bin/node tv/compile.js -
//
// ES5 only: this file runs on V8 3.28.
"use strict";
var fs = require("fs");
var vm = require("vm");

// Where and why an error thrown by `file`'s code happened: {line, column,
// message}, the message being the engine's own. Node decorates an error
// with "FILE:LINE", the source line and a caret line under the place
// ("^^^"), in its message (Node.js 0.12) or its stack (later ones): the
// column is the caret's. Else the first stack frame in `file` says where.
function located(error, file) {
  var message = String(error && error.message);
  var stack = String(error && error.stack);
  var texts = [message, stack];
  for (var t = 0; t < texts.length; t++) {
    var lines = texts[t].split("\n");
    var head = lines[0].slice(0, file.length + 1) === file + ":" ? lines[0].slice(file.length + 1) : "";
    if (!/^\d+$/.test(head)) continue;
    var caret = -1;
    var i = 2;
    for (; i < lines.length && i < 4; i++) {
      if (/^\s*\^+\s*$/.test(lines[i])) {
        caret = lines[i].indexOf("^");
        break;
      }
    }
    var said = message;
    if (t === 0) {
      // A decorated message: the engine's own follows the caret line.
      var rest = lines.slice(caret >= 0 ? i + 1 : 2);
      while (rest.length && rest[0] === "") rest.shift();
      said = rest.join("\n");
    }
    return { line: Number(head), column: caret >= 0 ? caret + 1 : 1, message: said };
  }
  var frames = stack.split("\n");
  for (var f = 1; f < frames.length; f++) {
    var at = frames[f].lastIndexOf(file + ":");
    if (at < 0) continue;
    var place = /^(\d+):(\d+)/.exec(frames[f].slice(at + file.length + 1));
    if (place) return { line: Number(place[1]), column: Number(place[2]), message: message };
  }
  return { line: 1, column: 1, message: message };
}

// What the engine says of `source`, named `file` in its messages.
function compileCode(file, source) {
  try {
    new vm.Script(source, { filename: file });
    return { file: file, ok: true };
  } catch (e) {
    var found = located(e, file);
    return { file: file, line: found.line, column: found.column, message: found.message };
  }
}

function compile(file) {
  var source;
  try {
    source = fs.readFileSync(file, "utf8");
  } catch (e) {
    return { file: file, line: 1, column: 1, message: "cannot read: " + e.message, unreadable: true };
  }
  return compileCode(file, source);
}

module.exports = { located: located, compile: compile, compileCode: compileCode };

if (require.main === module && process.argv[2] === "-") {
  var input = "";
  process.stdin.setEncoding("utf8");
  process.stdin.on("data", function (chunk) { input += chunk; });
  process.stdin.on("end", function () {
    var results = JSON.parse(input).map(function (entry) { return compileCode(entry.name, entry.code); });
    process.stdout.write(JSON.stringify(results) + "\n");
  });
} else if (require.main === module) {
  process.stdout.write(JSON.stringify(process.argv.slice(2).map(compile)) + "\n");
}
