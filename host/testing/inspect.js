// Values as test reports show them: on one line (inspect), or one element
// per line (lines) so that two values can be compared line by line (diff).
(function (shared) {
  "use strict";

  // Deeper levels show as [Object] or [Array]; longer lists end with "... N more".
  const MAX_DEPTH = 6;
  const MAX_ITEMS = 100;
  // Elements shown in all, whatever the nesting.
  const MAX_TOTAL = 1000;
  // Above this many line pairs the diff lists both values instead of aligning them.
  const MAX_ALIGNED = 250000;

  function quote(text) {
    const mark = text.includes("'") && !text.includes('"') ? '"' : "'";
    let out = mark;
    for (const ch of text) {
      const code = ch.codePointAt(0);
      if (ch === mark || ch === "\\") out += "\\" + ch;
      else if (ch === "\n") out += "\\n";
      else if (ch === "\t") out += "\\t";
      else if (ch === "\r") out += "\\r";
      else if (code < 0x20 || code === 0x7f) out += "\\x" + code.toString(16).padStart(2, "0");
      else out += ch;
    }
    return out + mark;
  }

  function keyText(key) {
    if (typeof key === "symbol") return "[" + String(key) + "]";
    return /^[A-Za-z_$][\w$]*$/.test(key) ? key : quote(key);
  }

  function functionText(fn) {
    let source = "";
    try {
      source = Function.prototype.toString.call(fn);
    } catch (e) {
      // a revoked proxy, for example
    }
    const name = typeof fn.name === "string" && fn.name !== "" ? fn.name : "(anonymous)";
    return source.startsWith("class") ? "[class " + name + "]" : "[Function: " + name + "]";
  }

  // The text of a value that has no parts, or null.
  function leaf(value) {
    switch (typeof value) {
      case "string": return quote(value);
      case "number": return Object.is(value, -0) ? "-0" : String(value);
      case "bigint": return value + "n";
      case "symbol": return String(value);
      case "undefined": return "undefined";
      case "boolean": return String(value);
      case "function": return functionText(value);
    }
    return value === null ? "null" : null;
  }

  function tagOf(value) {
    return Object.prototype.toString.call(value).slice(8, -1);
  }

  // The name of the class an object was made by: "" for a plain object,
  // null for one without a prototype.
  function className(value) {
    const proto = Object.getPrototypeOf(value);
    if (proto === null) return null;
    if (proto === Object.prototype) return "";
    const ctor = Object.getOwnPropertyDescriptor(proto, "constructor");
    return ctor && typeof ctor.value === "function" && ctor.value.name ? ctor.value.name : tagOf(value);
  }

  function objectLeaf(value, tag) {
    if (tag === "Date") {
      const time = Date.prototype.getTime.call(value);
      return Number.isNaN(time) ? "Invalid Date" : Date.prototype.toISOString.call(value);
    }
    if (tag === "RegExp") return RegExp.prototype.toString.call(value);
    if (value instanceof Error) return "[" + String(value.name) + ": " + String(value.message) + "]";
    const boxed = { Number, String, Boolean, BigInt, Symbol }[tag];
    if (boxed !== undefined && typeof value !== "function") {
      try {
        return "[" + tag + ": " + leaf(boxed.prototype.valueOf.call(value)) + "]";
      } catch (e) {
        return null;  // an object that only claims the tag
      }
    }
    return null;
  }

  function propertyValue(value, key, depth, seen) {
    const descriptor = Object.getOwnPropertyDescriptor(value, key);
    if (descriptor === undefined) return "undefined";
    if ("value" in descriptor) return build(descriptor.value, depth, seen);
    if (descriptor.get && descriptor.set) return "[Getter/Setter]";
    return descriptor.get ? "[Getter]" : "[Setter]";
  }

  // A value as a tree: a string for what has no parts, else
  // { head, open, close, items: [{ label, node }] }.
  function build(value, depth, seen) {
    const text = leaf(value);
    if (text !== null) return text;
    if (seen.includes(value)) return "[Circular]";
    const tag = tagOf(value);
    const simple = objectLeaf(value, tag);
    if (simple !== null) return simple;
    const name = className(value);
    const isArray = Array.isArray(value);
    if (depth > MAX_DEPTH) return isArray ? "[Array]" : "[" + (name || "Object") + "]";

    seen.push(value);
    const items = [];
    let head = name === null ? "[Object: null prototype]" : name;
    let open = "{";
    let close = "}";
    const add = (label, node) => items.push({ label, node });
    let count = 0;
    const full = () => ++count > MAX_ITEMS || ++seen.total > MAX_TOTAL;
    let skipIndexes = false;
    if (isArray || (ArrayBuffer.isView(value) && tag !== "DataView")) {
      open = "[";
      close = "]";
      skipIndexes = true;
      const length = value.length;
      if (!isArray || name !== "Array") head = (name || tag) + "(" + length + ")";
      else head = "";
      for (let i = 0; i < length; i++) {
        if (full()) {
          add("", "... " + (length - i) + " more items");
          break;
        }
        if (!isArray || Object.prototype.hasOwnProperty.call(value, i)) {
          add("", isArray ? propertyValue(value, String(i), depth + 1, seen) : build(value[i], depth + 1, seen));
          continue;
        }
        let holes = 1;
        while (i + holes < length && !Object.prototype.hasOwnProperty.call(value, i + holes)) holes++;
        add("", "<" + holes + " empty item" + (holes > 1 ? "s" : "") + ">");
        i += holes - 1;
      }
    } else if (tag === "Map") {
      head = (name || "Map") + "(" + value.size + ")";
      for (const [key, entry] of Map.prototype.entries.call(value)) {
        if (full()) {
          add("", "...");
          break;
        }
        add(oneLine(build(key, depth + 1, seen)) + " => ", build(entry, depth + 1, seen));
      }
    } else if (tag === "Set") {
      head = (name || "Set") + "(" + value.size + ")";
      for (const entry of Set.prototype.values.call(value)) {
        if (full()) {
          add("", "...");
          break;
        }
        add("", build(entry, depth + 1, seen));
      }
    }
    for (const key of Reflect.ownKeys(value)) {
      if (skipIndexes && typeof key === "string" && /^(0|[1-9]\d*)$/.test(key) && Number(key) < 2 ** 32 - 1) continue;
      if (!Object.prototype.propertyIsEnumerable.call(value, key)) continue;
      if (full()) {
        add("", "...");
        break;
      }
      add(keyText(key) + ": ", propertyValue(value, key, depth + 1, seen));
    }
    seen.pop();
    return { head, open, close, items };
  }

  // The objects on the way down, and how many elements are shown so far.
  function newSeen() {
    return Object.assign([], { total: 0 });
  }

  function oneLine(node) {
    if (typeof node === "string") return node;
    const body = node.items.length === 0 ? node.open + node.close
      : node.open + " " + node.items.map((item) => item.label + oneLine(item.node)).join(", ") + " " + node.close;
    return node.head ? node.head + " " + body : body;
  }

  function listing(node, indent, label, comma, out) {
    if (typeof node === "string" || node.items.length === 0) {
      out.push(indent + label + oneLine(node) + comma);
      return out;
    }
    out.push(indent + label + (node.head ? node.head + " " : "") + node.open);
    // Every element ends with a comma, so that one added at the end changes one line.
    for (const item of node.items) listing(item.node, indent + "  ", item.label, ",", out);
    out.push(indent + node.close + comma);
    return out;
  }

  function shown(make) {
    try {
      return make();
    } catch (error) {
      return null;
    }
  }

  // A value on one line, as test reports show it.
  function inspect(value) {
    const text = shown(() => oneLine(build(value, 0, newSeen())));
    return text === null ? "[a value that cannot be shown]" : text;
  }

  // A value as lines, one element or property a line.
  function lines(value) {
    return shown(() => listing(build(value, 0, newSeen()), "", "", "", [])) || ["[a value that cannot be shown]"];
  }

  // The steps that turn expected into actual: [" ", line] for a line of
  // both, ["+", line] for one of actual only, ["-", line] of expected only.
  function align(actual, expected) {
    const n = actual.length;
    const m = expected.length;
    if (n * m > MAX_ALIGNED) {
      return expected.map((line) => ["-", line]).concat(actual.map((line) => ["+", line]));
    }
    // common[i * (m + 1) + j]: the longest common run of actual[i..] and expected[j..].
    const common = new Int32Array((n + 1) * (m + 1));
    for (let i = n - 1; i >= 0; i--) {
      for (let j = m - 1; j >= 0; j--) {
        common[i * (m + 1) + j] = actual[i] === expected[j] ? common[(i + 1) * (m + 1) + j + 1] + 1
          : Math.max(common[(i + 1) * (m + 1) + j], common[i * (m + 1) + j + 1]);
      }
    }
    const steps = [];
    let i = 0;
    let j = 0;
    while (i < n && j < m) {
      if (actual[i] === expected[j]) {
        steps.push([" ", actual[i++]]);
        j++;
      } else if (common[(i + 1) * (m + 1) + j] >= common[i * (m + 1) + j + 1]) {
        steps.push(["+", actual[i++]]);
      } else {
        steps.push(["-", expected[j++]]);
      }
    }
    while (i < n) steps.push(["+", actual[i++]]);
    while (j < m) steps.push(["-", expected[j++]]);
    return steps;
  }

  // The lines of a diff, "+ " for actual, "- " for expected; common lines
  // further than three from a change are left out as "  ...". Empty when
  // the lines are the same.
  function diff(actual, expected) {
    const steps = align(actual, expected);
    const changed = steps.map((step) => step[0] !== " ");
    if (!changed.includes(true)) return [];
    const near = (i) => changed.slice(Math.max(0, i - 3), i + 4).includes(true);
    const out = [];
    steps.forEach((step, i) => {
      if (near(i)) out.push(step[0] + " " + step[1]);
      else if (out[out.length - 1] !== "  ...") out.push("  ...");
    });
    return out;
  }

  shared.format = { inspect, lines, diff };
})
