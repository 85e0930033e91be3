// The loop goes on after an uncaught exception at the top level.
setTimeout(() => console.log("timer ran"), 10);
throw new Error("top level boom");
