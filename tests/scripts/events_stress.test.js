// Several players' threads emit while the script reassigns callbacks and
// destroys objects: every event of a live object arrives once, in its
// thread's order, with its text; nothing arrives for a destroyed object.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

const PLAYERS = 4;
const ROUNDS = 10;
const BURST = 50;
const DESTROY_ROUND = { 2: 4, 3: 7 };  // player -> round after whose bursts it goes away

const players = [];
for (let p = 0; p < PLAYERS; p++) {
  const entry = Object.assign(newPlayer(), { got: [], late: 0, gone: false });
  players.push(entry);
}

// Two recorders per player, swapped every round, so records queued under one
// are delivered to the other.
function assign(entry, round) {
  const tag = round % 2 === 0 ? "even" : "odd";
  const record = (kind) => (text) => {
    if (entry.gone) entry.late++;
    entry.got.push(kind + ":" + text + ":" + tag);
  };
  entry.player.oncurrent_time = record("t");
  entry.player.onasm_pause = record("a");
}

function expectedFor(p) {
  const rounds = DESTROY_ROUND[p] === undefined ? ROUNDS : 0;
  const texts = [];
  for (let r = 0; r < rounds; r++) {
    for (let n = 0; n < BURST; n++) texts.push("t:" + r);
    for (let n = 0; n < BURST; n++) texts.push("a:EventType:B,r" + r + ",x;");
  }
  return texts;
}

function round(r) {
  for (const entry of players) {
    if (entry.gone) continue;
    sim.burst(entry.adapter, 4, BURST, r);
    sim.burst(entry.adapter, 6, BURST, { type: 66, param1: "r" + r, param2: "x" });
    assign(entry, r + 1);
  }
  players.forEach((entry, p) => {
    if (DESTROY_ROUND[p] !== r) return;
    entry.gone = true;
    if (p === 2) {
      kite.destroy(entry.player);
    } else {
      entry.player = null;
      kite.gc();
    }
  });
  if (r + 1 < ROUNDS) {
    // Every other round waits for its events, so both recorders certainly
    // run; the others let the next round race the adapters' threads.
    if (r % 2 === 1)
      for (const entry of players) if (!entry.gone) sim.drain(entry.adapter);
    kite.afterIdle(() => round(r + 1));
    return;
  }
  for (const entry of players) if (!entry.gone) sim.drain(entry.adapter);
  kite.afterIdle(finish);
}

function finish() {
  players.forEach((entry, p) => {
    check("player " + p, () => {
      assertEqual(entry.late, 0, "nothing after destruction");
      if (DESTROY_ROUND[p] !== undefined) {
        assertEqual(sim.burst(entry.adapter, 4, 1, 0), false, "its adapter is gone");
        return;
      }
      // The recorder tag only shows which function ran; order and count are the point.
      assertEqual(entry.got.map((s) => s.replace(/:(even|odd)$/, "")), expectedFor(p));
      assertTrue(entry.got.some((s) => s.endsWith(":even")) && entry.got.some((s) => s.endsWith(":odd")),
                 "both recorders ran");
    });
  });
  done();
}

players.forEach((entry) => assign(entry, 0));
round(0);
