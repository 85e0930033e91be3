// Errors that no test caught belong to the test that was running when their
// callback was queued (attribution.out, with --timeout=300).
test("never settles", () => new Promise(() => {}));
// Kept past its test, which would otherwise cancel it.
test("queues a timer that throws after it ended", { leaks: true }, () => {
  setTimeout(() => {
    throw new Error("from the timer");
  }, 50);
});
test("waits while the timer throws", () => new Promise((resolve) => setTimeout(resolve, 200)));
test("leaves a rejection unhandled", () => {
  Promise.reject(new RangeError("nobody handled this"));
});
test("returns a promise that rejects", async () => {
  throw new Error("rejected");
});
test("throws a string", () => {
  throw "a plain text";
});
test("has a callback that throws", () => {
  const player = new Tether();
  player.onbuffering = () => {
    throw new TypeError("from the callback");
  };
  sim.emit(sim.count() - 1, sim.BUFFERING, 5);
  kite.afterIdle(() => kite.destroy(player));
});
test("queues an afterIdle call that throws", () => {
  kite.afterIdle(() => {
    throw new Error("from afterIdle");
  });
});
describe("cleanup", () => {
  afterEach(() => {
    throw new Error("from afterEach");
  });
  test("fails twice", () => {
    assert.fail("from the test");
  });
});
test("passes after them all", () => {});
