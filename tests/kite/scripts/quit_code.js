// kite.quit ends the run at once with its code, over an earlier uncaught error.
setTimeout(() => { throw new Error("before quit"); }, 1);
setTimeout(() => { console.log("quitting"); kite.quit(3); console.log("not after quit"); }, 20);
setTimeout(() => console.log("not this timer"), 40);
