// A TV app's busy path, written as app teams write it (a class, arrow
// functions, destructuring, template literals, for-of, startsWith) for
// kite build --target=tv to turn into ES5: rounds of Tether calls, then
// events delivered from the simulated player's thread. Prints the
// milliseconds that the calls and the deliveries took.
//   kite --adapter=sim workload.js [ROUNDS]
const ROUNDS = Number(kite.args[0] || 20000);
const EVENTS = ROUNDS;

class Progress {
  constructor(player) {
    this.player = player;
    this.lines = [];
    this.seen = 0;
  }
  seek(ms) {
    const { return_ecode: code } = this.player.player_seek_to({ param_seek_to: ms });
    const { return_data: position = 0 } = this.player.player_get_current_position();
    this.lines.push(`seek ${ms} -> ${code} at ${position}`);
  }
  onTime(text) {
    for (const part of text.split(",")) {
      if (part.startsWith("1")) this.seen += part.length;
    }
    this.seen += 1;
  }
}

const player = new Tether();
const adapter = sim.count() - 1;
const progress = new Progress(player);
player.oncurrent_time = (text) => progress.onTime(text);

const callsStart = performance.now();
for (let i = 0; i < ROUNDS; ++i) progress.seek(i % 1000);
const callsMs = performance.now() - callsStart;

const eventsStart = performance.now();
sim.burst(adapter, sim.CURRENT_TIME, EVENTS, 12345);
sim.drain(adapter);
kite.afterIdle(() => {
  const eventsMs = performance.now() - eventsStart;
  kite.destroy(player);
  // "12345": five characters and the event itself.
  if (progress.lines.length !== ROUNDS || progress.seen !== EVENTS * 6) throw new Error(`lost work: ${progress.seen}`);
  console.log(`${callsMs.toFixed(2)} ${eventsMs.toFixed(2)}`);
});
