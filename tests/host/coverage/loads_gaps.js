// Loads an app whose uncovered lines make more runs than a table's row shows.
kite.load("lib/gaps.js");
test("loads gaps", () => {});
