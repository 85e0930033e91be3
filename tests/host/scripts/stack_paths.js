// Stack lines name each script by its absolute path, however the command
// line or kite.load spelled it: this file's frame, a loaded file's, and an
// uncaught error's report.
const placeOfCaller = kite.load("./lib/../lib/stack_place.js");
console.log(new Error("here").stack.split("\n")[1]);
console.log(placeOfCaller());
setTimeout(function late() {
  throw new Error("late");
}, 1);
