// Rejections nobody handles are reported as uncaught; one handled before the
// task ends is not, and the loop goes on either way.
const handledLater = Promise.reject(new Error("handled in the same task"));
handledLater.catch(() => console.log("caught late"));
Promise.reject(new Error("top level rejection"));
setTimeout(async function failingTimer() {
  await null;
  throw new Error("async timer");
}, 5);
setTimeout(() => console.log("later timer ran"), 30);
