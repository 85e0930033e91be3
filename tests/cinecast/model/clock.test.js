// The run's clock under virtual time: what sim.advance runs, in which order,
// and how timers, intervals, microtasks, afterIdle calls and the model
// player's events interleave; what is scheduled (sim.pending), and the moves
// that run it to its end (sim.runAll) or to a condition (sim.runUntil). Each
// row runs its body with a fresh log and states the log it must leave; times
// are logged from the row's start, as the clock goes on from row to row.
kite.load("../../support/lib/assert.js");
kite.load("lib/rows.js");

sim.media("tone.wav", { duration: 3000 });

const ROWS = [
  // A zero delay runs at the next advance, even of 0: the microtask row below.
  ["timers run by due time, the clock stops where it was sent, and a timer past it waits for the next advance", (log) => {
    const start = sim.now();
    setTimeout(() => log("b@" + (sim.now() - start)), 20);
    setTimeout(() => log("a@" + (sim.now() - start)), 10);
    setTimeout(() => log("c@" + (sim.now() - start)), 26);
    sim.advance(25);
    log("now+" + (sim.now() - start));
    sim.advance(1);
  }, ["a@10", "b@20", "now+25", "c@26"]],
  ["equal due times run in the order they were set", (log) => {
    for (const name of ["one", "two", "three"]) setTimeout(() => log(name), 5);
    sim.advance(5);
  }, ["one", "two", "three"]],
  ["an interval runs once per period, with its arguments", (log) => {
    const id = setInterval((a, b) => log(a + b), 30, "x", "y");
    sim.advance(100);
    clearInterval(id);
    sim.advance(100);
  }, ["xy", "xy", "xy"]],
  ["clearInterval inside the interval ends it; clearTimeout ends an interval too", (log) => {
    let n = 0;
    const id = setInterval(() => { log("tick " + ++n); if (n === 2) clearInterval(id); }, 10);
    const other = setInterval(() => log("other"), 10);
    clearTimeout(other);
    sim.advance(50);
  }, ["tick 1", "tick 2"]],
  ["an interval of 0 runs every millisecond", (log) => {
    const id = setInterval(() => log("ms"), 0);
    sim.advance(3);
    clearInterval(id);
  }, ["ms", "ms", "ms"]],
  ["microtasks a timer queues run before the next timer", (log) => {
    setTimeout(() => { Promise.resolve().then(() => log("then")); queueMicrotask(() => log("micro")); }, 1);
    setTimeout(() => log("second"), 1);
    sim.advance(1);
  }, ["then", "micro", "second"]],
  ["queueMicrotask runs once the running code is done", (log) => {
    queueMicrotask(() => log("micro"));
    log("code");
  }, ["code", "micro"]],
  ["microtasks run before timers that are due and afterIdle calls", (log) => {
    kite.afterIdle(() => log("idle"));
    setTimeout(() => log("timer"), 0);
    queueMicrotask(() => log("micro"));
    sim.advance(0);
  }, ["micro", "timer", "idle"]],
  ["afterIdle calls run before later timers, in the order made", (log) => {
    setTimeout(() => log("timer"), 1);
    kite.afterIdle(() => log("idle 1"));
    kite.afterIdle(() => log("idle 2"));
    sim.advance(1);
  }, ["idle 1", "idle 2", "timer"]],
  ["an afterIdle call made by a timer runs before the next timer", (log) => {
    setTimeout(() => kite.afterIdle(() => log("idle")), 1);
    setTimeout(() => log("next"), 1);
    sim.advance(1);
  }, ["idle", "next"]],
  ["a huge advance is held to the clock's range", (log) => {
    const start = sim.now();
    sim.advance(1e300);
    log(sim.now() - start);
  }, [3e13]],
  ["performance.now() is the virtual clock", (log) => {
    const start = performance.now();
    sim.advance(1234.5);
    log(performance.now() - start);
    log(performance.now() === sim.now());
  }, [1234.5, true]],
  ["the player's events and the timers interleave in time order; a callback sees the clock at its event", (log) => {
    const start = sim.now();
    const stamped = (entry) => log(entry + "@" + (sim.now() - start));
    const player = playing("tone.wav", stamped, ["current_time"]);
    setTimeout(() => stamped("timer"), 250);
    sim.advance(300);
    kite.destroy(player);
  }, ["current_time:100@100", "current_time:200@200", "timer@250", "current_time:300@300"]],
  ["a two-hour film ends after two hours of advance", (log) => {
    sim.media("film.mp4", { duration: 7200000 });
    let ticks = 0;
    const player = playing("film.mp4", (entry) => (entry === "play_complete" ? log(entry) : ticks++),
                           ["current_time", "play_complete"]);
    sim.advance(7200000);
    log(ticks + " times, state " + data(player.player_get_player_state()) + "@" + data(player.player_get_current_position()));
    kite.destroy(player);
  }, ["play_complete", "71999 times, state 2@7200000"]],
];

// A model player that plays tone.wav from now; its end goes to the log.
const playTone = (log) => playing("tone.wav", log, ["play_complete"]);

// An error's text with the clock's readings from the row's start.
function relative(error, start) {
  return String(error).replace(/at ([0-9.]+) ms/g, (text, ms) => "at start+" + (parseFloat(ms) - start) + " ms");
}

const MOVES = [
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
      for (const move of [() => sim.advance(1), () => sim.runAll(), () => sim.runUntil(() => true)]) {
        try { move(); } catch (e) { log(String(e)); }
      }
    }, 1);
    sim.advance(1);
    try {
      sim.runUntil(() => sim.advance(1));
    } catch (e) {
      log(String(e));
    }
  }, ["Error: sim.advance: called from a callback that sim.advance runs; the clock is already moving",
      "Error: sim.runAll: called from a callback that sim.advance runs; the clock is already moving",
      "Error: sim.runUntil: called from a callback that sim.advance runs; the clock is already moving",
      "Error: sim.advance: called from a callback that sim.runUntil runs; the clock is already moving"]],
];

// Misuse: [what, call, the error's type and message].
const ADVANCE = "sim.advance: the time must be a finite number of milliseconds, 0 or more";
const RUN_ALL = "sim.runAll: the limit must be a whole number of calls, 1 or more";
const LIMIT = "sim.runUntil: the limit must be a finite number of milliseconds, 0 or more";
const FORMS = "sim.runUntil: the condition must be a function or { player, state }, the player a Tether object";
const MISUSE = [
  ["a negative time", () => sim.advance(-1), TypeError, ADVANCE],
  ["a string", () => sim.advance("x"), TypeError, ADVANCE],
  ["Infinity", () => sim.advance(Infinity), TypeError, ADVANCE],
  ["an interval without a function", () => setInterval("x", 1), TypeError, "setInterval: the first argument must be a function"],
  ["a microtask without a function", () => queueMicrotask(1), TypeError, "queueMicrotask: the argument must be a function"],
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
checkLogRows(MOVES, () => sim.advance(0));
checkRefusals(MISUSE);
// Last, as the clock stays where it stops.
check("the clock stops short of overflowing", () => {
  for (let i = 0; i < 200; i++)
    sim.advance(1e300);
  const top = sim.now();
  sim.advance(1e300);
  assertEqual([top > 4.6e15, sim.now() === top], [true, true], "the clock's end");
});
done();
