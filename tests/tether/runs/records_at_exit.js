// Quits with event records still queued: the loop never runs again, yet
// kite's exit releases every record (its log shows three deliveries ending)
// and calls nothing (stdout stays empty).
const player = new Tether();
const adapter = sim.count() - 1;
player.oncurrent_time = (text) => console.log("called " + text);
for (let n = 0; n < 3; n++) sim.emit(adapter, sim.CURRENT_TIME, n);
kite.quit(0);
