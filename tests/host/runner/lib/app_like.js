// An app file as a page has it: declarations at the top level, and a last
// expression, which kite.load answers.
const greeting = "hello";
function greet(name) {
  return greeting + ", " + name;
}
function where() {
  return new Error("here").stack.split("\n")[1];
}
({ greet, where });
