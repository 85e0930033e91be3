// A test that never gives control back is stopped, and its file with it
// (stuck.out, with --timeout=200).
test("passes first", () => {});
test("loops for ever", () => {
  for (;;) {
    // busy
  }
});
test("is never reached", () => {});
