// A file that cannot be compiled fails, named with its line; the other
// files still run (files.out).
test("never declared", () => {
  }
});
