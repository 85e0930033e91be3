// Dates follow the run's clock: from 2000-01-01T00:00:00Z with
// --clock=virtual, the wall clock's otherwise.
let text = new Date().toISOString();
try {
  sim.advance(60000);
  text += " " + new Date().toISOString();
} catch (error) {
  text = Date.now() > Date.UTC(2020, 0, 1) ? "the wall clock" : text;
}
console.log(text);
