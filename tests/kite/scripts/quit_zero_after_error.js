// kite.quit(0) does not hide an uncaught error.
setTimeout(() => { throw new Error("first"); }, 1);
setTimeout(() => kite.quit(0), 20);
