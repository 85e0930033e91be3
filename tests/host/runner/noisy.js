// A file that prints without end: what it printed is cut, and its time
// limit stops it (a kite run test checks the note).
test("prints", () => {
  const line = "x".repeat(1000);
  for (;;) console.log(line);
});
