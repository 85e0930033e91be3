// Takes greeter by name from the file that declares it: the const is
// declared before the file is loaded, so the file's declaration clashes.
const { greeter } = kite.load("lib/declares_greeter.js");
