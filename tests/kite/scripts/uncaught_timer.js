// A timer's exception is reported, and later timers still run.
setTimeout(() => { throw new Error("from timer"); }, 5);
setTimeout(() => console.log("later timer ran"), 30);
