// Dates on virtual time (dates.out): from 2000-01-01T00:00:00Z, moved by
// sim.advance in whole milliseconds, as performance.now() and console.time
// are; dates of a time given are as ever.
const EPOCH = Date.UTC(2000, 0, 1);

test("Date.now() and new Date() start at the epoch", () => {
  assert.deepEqual([Date.now() - EPOCH, new Date().toISOString(), sim.now()], [0, "2000-01-01T00:00:00.000Z", 0]);
});
test("move with sim.advance", () => {
  sim.advance(1500.5);
  assert.deepEqual([Date.now() - EPOCH, new Date().toISOString(), performance.now()],
    [1500, "2000-01-01T00:00:01.500Z", 1500.5]);
});
test("go on from there in the next test", () => {
  assert.equal(new Date().toISOString(), "2000-01-01T00:00:01.500Z");
});
test("console.time measures the clock's time", () => {
  console.time("advance");
  sim.advance(250);
  console.timeEnd("advance");
});
test("dates of a time given, Date.UTC and Date.parse are as ever", () => {
  const rows = [
    [new Date(0).toISOString(), "1970-01-01T00:00:00.000Z"],
    [new Date("2024-02-29T12:00:00Z").getTime(), 1709208000000],
    [new Date(2024, 1, 29, 12).getDate(), 29],
    [Date.UTC(2024, 1, 29), 1709164800000],
    [Date.parse("2024-02-29T12:00:00Z"), 1709208000000],
    [new Date() instanceof Date, true],
    [Object.prototype.toString.call(new Date()), "[object Date]"],
    [Date.length, 7],
    [Date() === new Date(EPOCH + 1750).toString(), true],
  ];
  assert.deepEqual(rows.map((row) => row[0]), rows.map((row) => row[1]));
});
