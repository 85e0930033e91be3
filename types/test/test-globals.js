// A script that kite runs, not kite test, has no test globals
// (scripts/test.sh checks the message).
test("not here", () => {});
