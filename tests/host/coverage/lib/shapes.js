// An app whose tests leave known lines, functions and branches unrun: the
// area of an unknown shape, the perimeter of a circle, and label.
function area(shape) {
  if (shape.kind === "square") {
    return shape.side * shape.side;
  }
  if (shape.kind === "circle") {
    return Math.PI * shape.radius * shape.radius;
  }
  throw new Error("unknown shape " + shape.kind);
}

function perimeter(shape) {
  return shape.kind === "square" ? 4 * shape.side : 2 * Math.PI * shape.radius;
}

function label(shape) {
  return shape.kind + " of area " + area(shape);
}

const sides = kite.load("lib/sides.js");

({ area, perimeter, label, sides });
