// The run-time section of a file that `kite build --target=tv` wrote: the
// lines from RUNTIME_MARK to APP_MARK, which install the polyfills and
// helpers that the app needs before its own code runs. Shared by
// tv/probe.js (ES5: it runs in Node.js 0.12) and tv/check.js.
"use strict";

var RUNTIME_MARK = "/* kite build --target=tv: runtime */";
var APP_MARK = "/* kite build --target=tv: app */";

// The section of `source`, or null when it has none: {start, end}, the
// 0-based indexes of its two marker lines; {error} when the markers are
// there but not as a pair in order.
function find(source) {
  var lines = source.split(/\r\n|\r|\n/);
  var start = -1;
  var end = -1;
  for (var i = 0; i < lines.length; i++) {
    var line = lines[i].trim();
    if (line === RUNTIME_MARK) {
      if (start >= 0) return { error: "a second '" + RUNTIME_MARK + "' line, at line " + (i + 1) };
      start = i;
    } else if (line === APP_MARK) {
      if (start < 0) return { error: "'" + APP_MARK + "' at line " + (i + 1) + " without the '" + RUNTIME_MARK + "' line before it" };
      if (end >= 0) return { error: "a second '" + APP_MARK + "' line, at line " + (i + 1) };
      end = i;
    }
  }
  if (start < 0) return null;
  if (end < 0) return { error: "'" + RUNTIME_MARK + "' at line " + (start + 1) + " without the '" + APP_MARK + "' line after it" };
  return { start: start, end: end };
}

// The section's code, preceded by as many empty lines as come before it in
// the file, so that its errors name the file's own lines.
function code(source, section) {
  var lines = source.split(/\r\n|\r|\n/);
  var out = [];
  for (var i = 0; i < section.end; i++) out.push(i < section.start ? "" : lines[i]);
  return out.join("\n") + "\n";
}

module.exports = { RUNTIME_MARK: RUNTIME_MARK, APP_MARK: APP_MARK, find: find, code: code };
