// Player events through the simulated adapter's thread to the script: each
// handler's lines and text, its guards, and delivery at idle time, against
// the model's table of the nine events.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

const { EVENTS } = FuzzModel;
const got = [];
const { player, adapter } = newPlayer();
for (const { property } of EVENTS) player[property] = (...args) => got.push([property].concat(args));

// [code, data] of each case, in emitting order.
const EMITTED = [
  [sim.BUFFERING, -5], [sim.PREPARE_COMPLETE, null], [sim.PLAY_COMPLETE, null], [sim.SEEK_COMPLETE, null],
  [sim.CURRENT_TIME, 2147483648], [sim.ERROR_EVENT, { type: 3, param1: "Network", param2: "debug" }],
  [sim.ASM_PAUSE, { type: 0x141, param1: "a,b", param2: "" }], [sim.ASM_RESUME, { type: 66, param1: "p1", param2: "p2" }],
  [sim.SOUND_ANALYSIS, [3, -1, 12]], [sim.ERROR_EVENT, { type: 1, param1: "", param2: "never seen" }],
  [sim.ASM_PAUSE, { type: 0x142, param1: "", param2: "a;b,c" }], [sim.ASM_RESUME, { type: 0xe9, param1: "p", param2: "" }],
  [sim.SOUND_ANALYSIS, [0]], [sim.SOUND_ANALYSIS, []],
];

// Handler lines are written on the adapter's thread, by the agent's handler.
function handlerLines(emit) {
  kite.takeLog();
  kite.captureLog(true);
  const answer = emit();
  kite.captureLog(false);
  const lines = kite.takeLog().map(parseLine);
  assertTrue(lines.every((l) => l.tid !== kite.tid()), "adapter thread");
  return { answer, lines: lines.map((l) => l.priority + " " + l.func + " " + l.payload) };
}

check("each handler's lines, and its answer", () => {
  for (const [code, data] of EMITTED) {
    const { handler, lines } = EVENTS[code];
    const emitted = handlerLines(() => sim.emit(adapter, code, data));
    const expected = ["3 ENTER!!!"].concat(lines(data)).map((l) => l[0] + " " + handler + l.slice(1));
    assertEqual(emitted, { answer: true, lines: expected },
                handler + " " + JSON.stringify(data));
  }
});

check("guards: null user data, null event, null bands queue nothing", () => {
  const guarded = [[sim.BUFFERING, 1, { userData: null }], [sim.PREPARE_COMPLETE, null, { userData: null }],
                   [sim.CURRENT_TIME, 1, { userData: null }], [sim.ASM_PAUSE, { type: 1 }, { userData: null }],
                   [sim.ERROR_EVENT, null], [sim.ASM_PAUSE, null], [sim.ASM_RESUME, null], [sim.SOUND_ANALYSIS, null]];
  for (const [code, data, options] of guarded) {
    const { handler } = EVENTS[code];
    assertEqual(handlerLines(() => sim.emit(adapter, code, data, options)),
                { answer: false, lines: ["3 " + handler + " ENTER!!!", "5 " + handler + " pThis == NULL, Invalid param."] },
                handler + " " + JSON.stringify([data, options]));
  }
});

kite.afterIdle(() => {
  check("texts as the script receives them: a string, or no argument when empty", () => {
    assertEqual(got, EMITTED.map(([code, data]) => [EVENTS[code].property].concat(EVENTS[code].args(data))));
    assertEqual(got[10][1], "EventType:B,,a;b,c;", "the type's low byte");
    assertEqual(got[11][1], "EventType:\ufffd,p,;", "a byte that is not ASCII");
  });
  got.length = 0;

  // Reassigned between queueing and delivery: the function held at delivery runs.
  const first = [];
  player.onseek_complete = () => first.push("first");
  sim.emit(adapter, sim.SEEK_COMPLETE);
  sim.emit(adapter, sim.BUFFERING, 10);
  player.onseek_complete = (...args) => first.push("second " + args.length);
  player.onbuffering = 5;
  kite.afterIdle(() => {
    check("the function held at delivery time receives the event", () => {
      assertEqual(first, ["second 0"]);
      assertEqual(got, [], "a non-function suppresses the call");
    });
    done();
  });
});
