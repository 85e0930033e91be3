// kite.quit(code) ends the run at once; an earlier uncaught error makes a 0
// into 1 and leaves any other code.
setTimeout(() => { throw new Error("before quit"); }, 1);
setTimeout(() => { console.log("quitting"); kite.quit(Number(kite.args[0])); console.log("not after quit"); }, 20);
setTimeout(() => console.log("not this timer"), 40);
