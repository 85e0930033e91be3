// Timers, also when they are all overdue by the time the main loop next runs,
// as on a slow target: they fire in order of due time with their extra
// arguments, a cleared timer never fires, and a timer that fires first can
// still cancel a later one. The delays lie far enough apart that a slow run
// of the lines that set them cannot reorder their due times.
kite.load("../support/lib/assert.js");

check("clearTimeout ignores what is no timer", () => {
  clearTimeout(123456);
  clearTimeout("x");
  clearTimeout();
});

function busyWait(ms) {
  const start = Date.now();
  while (Date.now() - start < ms) {}
}

const fired = [];
setTimeout(() => fired.push("400"), 400);
setTimeout((a, b) => fired.push("0 " + a + b), 0, "x", "y");
setTimeout(() => fired.push("no ms"));
clearTimeout(setTimeout(() => fired.push("cleared"), 50));
const selfClearing = setTimeout(() => { fired.push("200"); clearTimeout(selfClearing); }, 200);
setTimeout(() => fired.push("-1"), -1);
const cancelledLater = setTimeout(() => fired.push("cancelled"), 300);
setTimeout(() => {
  fired.push("100 cancels 300");
  clearTimeout(cancelledLater);
}, 100);
// Everything above is due before the loop runs again.
busyWait(600);

setTimeout(() => {
  check("overdue timers fire by due time, and an earlier one cancels a later one", () => {
    assertEqual(fired, ["0 xy", "no ms", "-1", "100 cancels 300", "200", "400"]);
  });
  done();
}, 10);
