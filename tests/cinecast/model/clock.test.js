// The run's clock under virtual time: what sim.advance runs, in which order,
// and how timers, intervals, microtasks, afterIdle calls and the model
// player's events interleave. Each row runs its body with a fresh log and
// states the log it must leave.
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

// Misuse: [what, call, the error's type and message].
const ADVANCE = "sim.advance: the time must be a finite number of milliseconds, 0 or more";
const MISUSE = [
  ["a negative time", () => sim.advance(-1), TypeError, ADVANCE],
  ["a string", () => sim.advance("x"), TypeError, ADVANCE],
  ["Infinity", () => sim.advance(Infinity), TypeError, ADVANCE],
  ["an interval without a function", () => setInterval("x", 1), TypeError, "setInterval: the first argument must be a function"],
  ["a microtask without a function", () => queueMicrotask(1), TypeError, "queueMicrotask: the argument must be a function"],
];

checkLogRows(ROWS, () => sim.advance(0));
checkRefusals(MISUSE);
check("sim.advance from a callback it runs", () => {
  let error;
  setTimeout(() => { try { sim.advance(1); } catch (e) { error = e; } }, 1);
  sim.advance(1);
  assertEqual(String(error), "Error: sim.advance: called from a callback that sim.advance runs; the clock is already moving",
              "nested advance");
});
// Last, as the clock stays where it stops.
check("the clock stops short of overflowing", () => {
  for (let i = 0; i < 200; i++)
    sim.advance(1e300);
  const top = sim.now();
  sim.advance(1e300);
  assertEqual([top > 4.6e15, sim.now() === top], [true, true], "the clock's end");
});
done();
