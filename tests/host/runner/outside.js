// An error of a callback that the file's top level queued belongs to no
// test: the file fails (bad_files.out).
setTimeout(() => {
  throw new Error("queued by the top level");
}, 0);
test("passes while it throws", () => new Promise((resolve) => setTimeout(resolve, 50)));
