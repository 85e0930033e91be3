// A file whose top level throws fails before any test (files.out).
test("never runs", () => {});
undefinedFunction();
