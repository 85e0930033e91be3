// A file whose top level throws fails before any test (bad_files.out).
test("never runs", () => {});
undefinedFunction();
