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
  [0, -5], [1, null], [2, null], [3, null], [4, 2147483648], [5, { type: 3, param1: "Network", param2: "debug" }],
  [6, { type: 0x141, param1: "a,b", param2: "" }], [7, { type: 66, param1: "p1", param2: "p2" }], [8, [3, -1, 12]],
  [5, { type: 1, param1: "", param2: "never seen" }], [6, { type: 0x142, param1: "", param2: "a;b,c" }],
  [7, { type: 0xe9, param1: "p", param2: "" }], [8, [0]], [8, []],
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
    assertEqual(emitted, { answer: true, lines: ["3 ENTER!!!"].concat(lines(data)).map((l) => l[0] + " " + handler + l.slice(1)) },
                handler + " " + JSON.stringify(data));
  }
});

check("guards: null user data, null event, null bands queue nothing", () => {
  const guarded = [[0, 1, { userData: null }], [1, null, { userData: null }], [4, 1, { userData: null }],
                   [6, { type: 1 }, { userData: null }], [5, null], [6, null], [7, null], [8, null]];
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
  sim.emit(adapter, 3);
  sim.emit(adapter, 0, 10);
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
