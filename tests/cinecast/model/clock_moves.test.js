// What is scheduled on the virtual clock (sim.pending), and the moves that
// run it to its end (sim.runAll) or to a condition (sim.runUntil). Each row
// runs its body with a fresh log and states the log it must leave; times are
// logged from the row's start, as the clock goes on from row to row.
kite.load("../../support/lib/assert.js");
kite.load("lib/rows.js");

sim.media("tone.wav", { duration: 3000 });

// A model player that plays tone.wav from now; its end goes to the log.
const playTone = (log) => playing("tone.wav", log, ["play_complete"]);

// An error's text with the clock's readings from the row's start.
function relative(error, start) {
  return String(error).replace(/at ([0-9.]+) ms/g, (text, ms) => "at start+" + (parseFloat(ms) - start) + " ms");
}

const ROWS = [
  ["sim.pending lists what would run, in that order", (log) => {
    const start = sim.now();
    const late = setTimeout(() => {}, 50);
    const every = setInterval(() => {}, 20);
    const due = setTimeout(() => {}, 0);
    kite.afterIdle(() => {});
    const names = new Map([[late, "late"], [every, "every"], [due, "due"]]);
    for (const entry of sim.pending()) {
      log([entry.kind, entry.at - start, names.get(entry.id), entry.every].filter((x) => x !== undefined).join(" "));
    }
    clearTimeout(late);
    clearInterval(every);
  }, ["timeout 0 due", "afterIdle 0", "interval 20 every 20", "timeout 50 late"]],
  ["sim.pending lists a playing player's work, which its destruction ends", (log) => {
    const start = sim.now();
    const player = playTone(log);
    log(sim.pending().map((entry) => entry.kind + "@" + (entry.at - start)).join(" "));
    kite.destroy(player);
    log(sim.pending().length);
  }, ["player@100 player@3000", 0]],
  ["events queued for delivery are not listed, and sim.advance(0) delivers them", (log) => {
    const player = new Tether();
    player.onseek_complete = () => log("landed");
    player.player_create();
    sim.emit(sim.count() - 1, sim.SEEK_COMPLETE);
    log(sim.pending().length);
    sim.advance(0);
    kite.destroy(player);
  }, [0, "landed"]],
  ["sim.runAll runs everything in time order, stops at the last call and answers how many ran", (log) => {
    const start = sim.now();
    setTimeout(() => {
      log("a@" + (sim.now() - start));
      setTimeout(() => log("c@" + (sim.now() - start)), 100);
    }, 10);
    setTimeout(() => log("b@" + (sim.now() - start)), 50);
    kite.afterIdle(() => log("idle@" + (sim.now() - start)));
    log("ran " + sim.runAll());
    log("now+" + (sim.now() - start));
    log(sim.pending().length);
  }, ["idle@0", "a@10", "b@50", "c@110", "ran 3", "now+110", 0]],
  ["sim.runAll plays a film to its end", (log) => {
    const start = sim.now();
    const player = playTone(log);
    sim.runAll();
    log("now+" + (sim.now() - start) + ", state " + player.player_get_player_state().return_data);
    kite.destroy(player);
  }, ["play_complete", "now+3000, state 2"]],
  ["with nothing scheduled sim.runAll runs nothing and the clock stays", (log) => {
    const start = sim.now();
    log(sim.runAll());
    log(sim.now() - start);
  }, [0, 0]],
  ["sim.runAll stops at its limit, the clock where it got to", (log) => {
    const start = sim.now();
    const id = setInterval(() => {}, 10);
    try {
      sim.runAll(5);
    } catch (e) {
      log(relative(e, start));
    }
    log(sim.now() - start);
    clearInterval(id);
  }, ["Error: sim.runAll: 5 calls ran and more are scheduled (the next: interval at start+60 ms); an interval that is never cleared, or a player that plays on, keeps the clock going: clear or stop it, or give a larger limit", 50]],
  ["sim.runAll's own limit is 100000 calls", (log) => {
    let calls = 0;
    const id = setInterval(() => calls++, 1);
    try {
      sim.runAll();
    } catch (e) {
      log(e.message.slice(0, e.message.indexOf(" (")));
    }
    log(calls);
    clearInterval(id);
  }, ["sim.runAll: 100000 calls ran and more are scheduled", 100000]],
  ["sim.runUntil stops where the condition holds and answers the clock", (log) => {
    const start = sim.now();
    let ticks = 0;
    const id = setInterval(() => ticks++, 10);
    log(sim.runUntil(() => ticks === 3) - start);
    log(sim.now() - start);
    clearInterval(id);
  }, [30, 30]],
  ["a condition that holds at once moves nothing", (log) => {
    const start = sim.now();
    setTimeout(() => log("ran"), 0);
    log(sim.runUntil(() => true) - start);
    clearTimeout(sim.pending()[0].id);
  }, [0]],
  ["{ player, state } waits for the state the player reports", (log) => {
    const start = sim.now();
    const player = playTone(log);
    log(sim.runUntil({ player, state: 2 }, 5000) - start);
    log(player.player_get_player_state().return_data);
    kite.destroy(player);
  }, ["play_complete", 3000, 2]],
  ["at the limit sim.runUntil throws, the clock at the limit", (log) => {
    const start = sim.now();
    const id = setInterval(() => {}, 10);
    try {
      sim.runUntil(() => false, 100);
    } catch (e) {
      log(relative(e, start));
    }
    log(sim.now() - start);
    clearInterval(id);
  }, ["Error: sim.runUntil: the condition did not hold within 100 ms; the clock stands at start+100 ms", 100]],
  ["a state never reached is named with the state there is", (log) => {
    const start = sim.now();
    const player = playTone(log);
    try {
      sim.runUntil({ player, state: 4 }, 250);
    } catch (e) {
      log(relative(e, start));
    }
    kite.destroy(player);
  }, ["Error: sim.runUntil: the player's state was not 4 (it is 3) within 250 ms; the clock stands at start+250 ms"]],
  ["a player whose query answers no state never holds; one whose query throws, throws", (log) => {
    const start = sim.now();
    const silent = { player_get_player_state() { return undefined; } };
    const failing = { player_get_player_state() { throw new Error("no player"); } };
    for (const player of [silent, failing]) {
      try {
        sim.runUntil({ player, state: 2 }, 10);
      } catch (e) {
        log(relative(e, start));
      }
    }
  }, ["Error: sim.runUntil: the player's state was not 2 (it answers none) within 10 ms; the clock stands at start+10 ms",
      "Error: no player"]],
  ["the condition's error comes out, the clock where it got to", (log) => {
    const start = sim.now();
    let ticks = 0;
    const id = setInterval(() => ticks++, 10);
    try {
      sim.runUntil(() => { if (ticks === 2) throw new RangeError("two ticks"); return false; });
    } catch (e) {
      log(String(e));
    }
    log(sim.now() - start);
    clearInterval(id);
  }, ["RangeError: two ticks", 20]],
  ["a move from a callback of another move is refused", (log) => {
    setTimeout(() => {
      for (const move of [() => sim.runAll(), () => sim.runUntil(() => true)]) {
        try { move(); } catch (e) { log(String(e)); }
      }
    }, 1);
    sim.advance(1);
    try {
      sim.runUntil(() => sim.advance(1));
    } catch (e) {
      log(String(e));
    }
  }, ["Error: sim.runAll: called from a callback that sim.advance runs; the clock is already moving",
      "Error: sim.runUntil: called from a callback that sim.advance runs; the clock is already moving",
      "Error: sim.advance: called from a callback that sim.runUntil runs; the clock is already moving"]],
];

// Misuse: [what, call, the error's type and message].
const RUN_ALL = "sim.runAll: the limit must be a whole number of calls, 1 or more";
const LIMIT = "sim.runUntil: the limit must be a finite number of milliseconds, 0 or more";
const FORMS = "sim.runUntil: the condition must be a function or { player, state }, the player a Tether object";
const MISUSE = [
  ["runAll with 0 calls", () => sim.runAll(0), TypeError, RUN_ALL],
  ["runAll with a fraction", () => sim.runAll(1.5), TypeError, RUN_ALL],
  ["runAll with a string", () => sim.runAll("10"), TypeError, RUN_ALL],
  ["runUntil with a string limit", () => sim.runUntil(() => true, "100"), TypeError, LIMIT],
  ["runUntil with a negative limit", () => sim.runUntil(() => true, -1), TypeError, LIMIT],
  ["runUntil with an endless limit", () => sim.runUntil(() => true, Infinity), TypeError, LIMIT],
  ["runUntil with a number", () => sim.runUntil(5), TypeError, FORMS],
  ["runUntil with no player", () => sim.runUntil({ state: 2 }), TypeError, FORMS],
  ["runUntil with a player that is none", () => sim.runUntil({ player: {}, state: 2 }), TypeError, FORMS],
  ["runUntil with a state that is no integer",
   () => sim.runUntil({ player: { player_get_player_state() {} }, state: "2" }), TypeError,
   "sim.runUntil: state must be an integer, as player_get_player_state answers it"],
  ["runUntil with an async condition", () => sim.runUntil(async () => true), TypeError,
   "sim.runUntil: the condition answered a promise; it must answer at once"],
];

checkLogRows(ROWS, () => sim.advance(0));
checkRefusals(MISUSE);
done();
