// A test file that loads no app file.
test("loads nothing", () => {});
