// Each console method once: log, info, debug and count and timeEnd's lines
// go to stdout, the others to stderr.
console.log("log", [1, 2], { toString() { return "obj"; } }, Symbol("s"));
console.info("info %d", 1);
console.debug("debug");
console.warn("warn", { a: 1 });
console.error("error");
console.trace("trace %s", "here");
console.assert(true, "never printed");
console.assert(false, "assert %s", "failed");
console.count(); console.count("x"); console.count();
console.time("t"); console.timeEnd("t");
console.time(); console.time(); console.timeEnd("nothing");
console.log("");
console.log();
