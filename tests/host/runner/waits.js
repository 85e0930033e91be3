// A test that waits for ever, for the run that interrupts kite test.
test("waits", () => new Promise(() => {}));
