// An interval keeps the run going until it clears itself.
let count = 0;
const id = setInterval(() => {
  console.log(++count);
  if (count === 3) {
    clearInterval(id);
    queueMicrotask(() => {
      throw new Error("from a microtask");
    });
  }
}, 5);
