console.log("a", 1, true, null, undefined, [1, 2], { toString() { return "obj"; } }, Symbol("s"));
console.error("to", "stderr");
console.log("");
console.log();
