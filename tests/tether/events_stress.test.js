// Several players' threads emit while the script reassigns callbacks and
// destroys objects: every event of a live object arrives once, in its
// thread's order, with its text; nothing arrives for a destroyed object; and
// the plug-in's log shows every queued record released by the delivery.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const PLAYERS = 6;
const ROUNDS = 8;
const EVENTS = 40;  // per player and round, current times and ASM pauses in turn
// player -> round after whose events it goes away, with its records queued
const DESTROY_ROUND = { 2: 2, 4: 5 };

// The plug-in's log from the first event on.
kite.takeLog();
kite.captureLog(true);

const players = [];
for (let p = 0; p < PLAYERS; p++)
  players.push(Object.assign(newPlayer(), { got: [], late: 0, gone: false, posted: 0 }));

function eventOf(p, r, n) {
  const time = r * 1000 + n;
  if (n % 2 === 0) return { code: sim.CURRENT_TIME, data: time, text: "t:" + time };
  const type = 0x100 + 65 + (n % 26);  // the text carries the low byte only
  return {
    code: sim.ASM_PAUSE,
    data: { type: type, param1: "p" + p, param2: String(time) },
    text: "a:EventType:" + String.fromCharCode(type & 0xff) + ",p" + p + "," + time + ";",
  };
}

function expectedFor(p, rounds) {
  const texts = [];
  for (let r = 0; r < rounds; r++)
    for (let n = 0; n < EVENTS; n++) texts.push(eventOf(p, r, n).text);
  return texts;
}

// Two recorders per player, swapped every round right after its events are
// posted, so records queued under one are delivered to the other.
function assign(entry, round) {
  const tag = round % 2 === 0 ? "even" : "odd";
  const record = (kind) => (text) => {
    if (entry.gone) entry.late++;
    entry.got.push({ text: kind + ":" + text, tag: tag });
  };
  entry.player.oncurrent_time = record("t");
  entry.player.onasm_pause = record("a");
}

function destroy(entry) {
  // Every event of this round is queued and none delivered yet.
  sim.drain(entry.adapter);
  entry.gone = true;
  assertEqual(kite.destroy(entry.player), true);
}

function round(r) {
  players.forEach((entry, p) => {
    if (entry.gone) return;
    for (let n = 0; n < EVENTS; n++) {
      const event = eventOf(p, r, n);
      sim.burst(entry.adapter, event.code, 1, event.data);
    }
    entry.posted += EVENTS;
    assign(entry, r + 1);
  });
  players.forEach((entry, p) => {
    if (DESTROY_ROUND[p] === r) destroy(entry);
  });
  if (r + 1 < ROUNDS) {
    // Rounds 1, 2, 5 and 6 wait for their events, so that each recorder
    // surely receives some however slow the threads are (round 1's go to
    // the even one, round 2's to the odd one); the others let the next
    // round race the adapters' threads.
    if (r % 4 === 1 || r % 4 === 2)
      for (const entry of players) if (!entry.gone) sim.drain(entry.adapter);
    kite.afterIdle(() => round(r + 1));
    return;
  }
  for (const entry of players) if (!entry.gone) sim.drain(entry.adapter);
  // Events share the afterIdle priority: finish runs after every queued record.
  kite.afterIdle(finish);
}

function finish() {
  kite.captureLog(false);
  const lines = kite.takeLog().map(parseLine);
  const count = (pick) => lines.filter(pick).length;
  let delivered = 0;

  players.forEach((entry, p) => {
    check("player " + p, () => {
      const texts = entry.got.map((g) => g.text);
      delivered += texts.length;
      assertEqual(entry.late, 0, "nothing after destruction");
      if (DESTROY_ROUND[p] !== undefined) {
        const all = expectedFor(p, DESTROY_ROUND[p] + 1);
        assertEqual(texts, all.slice(0, texts.length), "what arrived before destruction");
        assertTrue(all.length - texts.length >= EVENTS, "the last round's records were dropped");
        assertEqual(sim.burst(entry.adapter, sim.CURRENT_TIME, 1, 0), false, "its adapter is gone");
        return;
      }
      assertEqual(texts, expectedFor(p, ROUNDS), "every event once, in order");
      assertTrue(entry.got.some((g) => g.tag === "even") && entry.got.some((g) => g.tag === "odd"),
                 "both recorders ran");
    });
  });

  check("every queued record is released by the delivery", () => {
    const queued = lines.filter((l) => l.file === "PlayerAgent.cpp" && l.payload === "Complete call js callback");
    const posted = players.reduce((sum, entry) => sum + entry.posted, 0);
    assertEqual(queued.length, posted, "records queued");
    const threads = new Set(queued.map((l) => l.tid));
    assertEqual(threads.size, PLAYERS, "emitting threads");
    assertTrue(!threads.has(kite.tid()), "none of them the script's");
    const delivery = (payload) => count((l) => l.func === "FireOnCallbacks" && l.payload === payload);
    assertEqual(delivery("ENTER!!!"), posted, "deliveries begun");
    assertEqual(delivery("LEAVE!!!"), posted, "records released");
    assertEqual(delivery("Ready to callbackData->js_callback.invoke"), delivered, "functions called");
    assertTrue(lines.every((l) => l.func !== "FireOnCallbacks" || l.tid === kite.tid()), "delivered on the main thread");
    console.log("stress: " + PLAYERS + " threads, " + posted + " records queued, " + delivered +
                " delivered, " + (posted - delivered) + " dropped for destroyed objects");
  });
  done();
}

players.forEach((entry) => assign(entry, 0));
round(0);
