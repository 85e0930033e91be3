// A file that cannot be compiled fails, named with its line; the other
// files still run (bad_files.out).
test("never declared", () => {
  }
});
