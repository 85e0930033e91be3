// Loaded by stack_paths.js: its completion value answers its own frame.
(function placeOfCaller() {
  return new Error("there").stack.split("\n")[1];
});
