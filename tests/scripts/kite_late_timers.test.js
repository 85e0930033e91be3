// Timers that are all overdue when the main loop next runs, as on a slow
// target: they still fire in order of due time, and a timer that fires
// first can still cancel a later one.
kite.load("lib/assert.js");

function busyWait(ms) {
  const start = Date.now();
  while (Date.now() - start < ms) {}
}

const fired = [];
setTimeout(() => fired.push("30"), 30);
setTimeout((a) => fired.push("0 " + a), 0, "x");
setTimeout(() => fired.push("20"), 20);
setTimeout(() => fired.push("-1"), -1);
const cancelledLater = setTimeout(() => fired.push("cancelled"), 25);
setTimeout(() => {
  fired.push("10 cancels 25");
  clearTimeout(cancelledLater);
}, 10);
// Everything above is due before the loop runs again.
busyWait(80);

setTimeout(() => {
  check("overdue timers fire by due time, and an earlier one cancels a later one", () => {
    assertEqual(fired, ["0 x", "-1", "10 cancels 25", "20", "30"]);
  });
  done();
}, 40);
