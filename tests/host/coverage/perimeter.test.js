// Reaches perimeter's square only, and sides twice.
const shapes = kite.load("lib/shapes.js");

test("squares", () => {
  assert.equal(shapes.perimeter({ kind: "square", side: 2 }), 8);
  assert.equal(shapes.sides({ kind: "square" }) + shapes.sides({ kind: "square" }), 8);
});
