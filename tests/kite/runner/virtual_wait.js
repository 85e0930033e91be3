// On kite test's default virtual time, a test that waits for a timer without
// moving the clock waits until its time limit; one that moves it does not.
test("waits for a timer the clock never reaches", () => new Promise((resolve) => setTimeout(resolve, 10)));
test("moves the clock to its timer", () => {
  const done = new Promise((resolve) => setTimeout(resolve, 10));
  sim.advance(10);
  return done;
});
