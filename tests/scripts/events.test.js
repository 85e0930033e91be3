// Player events through the simulated adapter's thread to the script: each
// handler's lines and text, its guards, and delivery at idle time.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

const PROPERTIES = ["onbuffering", "onprepare_complete", "onplay_complete", "onseek_complete", "oncurrent_time",
                    "onerror_event", "onasm_pause", "onasm_resume", "onsound_analysis"];

// Every callback of the player records [property, ...arguments] in got.
function recordAll(player, got) {
  for (const name of PROPERTIES) player[name] = (...args) => got.push([name].concat(args));
}

const got = [];
const { player, adapter } = newPlayer();
recordAll(player, got);

check("guards: null user data, null event, null bands queue nothing", () => {
  for (const [code, data] of [[0, 1], [1, null], [2, null], [3, null], [4, 1]])
    assertEqual(sim.emit(adapter, code, data, { userData: null }), false, "null user data " + code);
  for (const code of [5, 6, 7]) {
    assertEqual(sim.emit(adapter, code, null), false, "null event " + code);
    assertEqual(sim.emit(adapter, code, { type: 1 }, { userData: null }), false, "null user data " + code);
  }
  assertEqual(sim.emit(adapter, 8, null), false, "null bands");
  assertEqual(sim.emit(adapter, 8, [1], { userData: null }), false);
});

// Each handler's lines, guards included, as [emit arguments, function, lines].
const QUEUED = "5 End clutter_threads_add_idle_full.";
const COMPLETE = "5 Complete call js callback";
const LOGGED = [
  [[0, -5], "Buffering_CB", ["5 Get the buffering percent is -5, -5.", QUEUED]],
  [[1], "Prepare_Complete_CB", ["5 Ready to call Prepare Complete callback.", QUEUED]],
  [[2], "Play_Complete_CB", ["5 Ready to call Play Complete callback.", QUEUED]],
  [[3], "Seek_Complete_CB", ["5 Ready to call Seek Complete callback.", QUEUED, "3 LEAVE!!!"]],
  [[4, 2147483648], "Current_Time_CB",
   ["5 Ready to call js callback, strRes:-2147483648, -2147483648", COMPLETE, "3 LEAVE!!!"]],
  [[5, { type: 3, param1: "Network", param2: "debug" }], "Error_Event_CB",
   ["5 Got the Error event is type: 3, param1: Network, param2: debug",
    "5 Ready to call onerror_event_callback, strRes:Network", COMPLETE, "3 LEAVE!!!"]],
  [[6, { type: 0x141, param1: "a,b", param2: "" }], "ASM_Pause_CB",
   ["5 Got the event is type: 321, param1: a,b, param2: ",
    "5 Ready to call onasm_pause_callback, strRes:EventType:A,a,b,;", COMPLETE, "3 LEAVE!!!"]],
  [[7, { type: 66, param1: "p1", param2: "p2" }], "ASM_Resume_CB",
   ["5 Got the event is type: 66, param1: p1, param2: p2", COMPLETE, "3 LEAVE!!!"]],
  [[8, [3, -1, 12]], "SoundAnalysisCB",
   ["5 band array size = [3]\n", "5 Ready to call onsound_analysis_callback, strRes:3|-1|12", COMPLETE, "3 LEAVE!!!"]],
  [[0, 1, { userData: null }], "Buffering_CB", ["5 pThis == NULL, Invalid param."]],
  [[2, null, { userData: null }], "Play_Complete_CB", ["5 pThis == NULL, Invalid param."]],
  [[4, 1, { userData: null }], "Current_Time_CB", ["5 pThis == NULL, Invalid param."]],
  [[5, null], "Error_Event_CB", ["5 pThis == NULL, Invalid param."]],
  [[6, { type: 1 }, { userData: null }], "ASM_Pause_CB", ["5 pThis == NULL, Invalid param."]],
  [[8, null], "SoundAnalysisCB", ["5 pThis == NULL, Invalid param."]],
];
check("handler lines are written on the adapter's thread in the common frame", () => {
  for (const [args, func, payloads] of LOGGED) {
    kite.takeLog();
    kite.captureLog(true);
    assertEqual(sim.emit(adapter, ...args), payloads.length > 1, func + " answer");
    kite.captureLog(false);
    const lines = kite.takeLog().map(parseLine);
    assertEqual(lines.map((l) => l.priority + " " + l.func + " " + l.payload),
                ["3 ENTER!!!"].concat(payloads).map((line) => line[0] + " " + func + line.slice(1)), func);
    assertTrue(lines.every((l) => l.file === "PlayerAgent.cpp" && l.tid !== kite.tid()), "adapter thread");
  }
});

// Texts of every kind of string and number are in hostile_values.test.js.
for (const [code, data] of [[6, { type: 0x142, param1: "", param2: "a;b,c" }], [7, { type: 0, param1: "p", param2: "" }],
                            [8, [0]], [8, []]])
  sim.emit(adapter, code, data);

kite.afterIdle(() => {
  check("texts as the script receives them", () => {
    assertEqual(got.map((call) => call.join(" ")),
                ["onbuffering -5", "onprepare_complete", "onplay_complete", "onseek_complete",
                 "oncurrent_time -2147483648", "onerror_event Network", "onasm_pause EventType:A,a,b,;",
                 "onasm_resume EventType:B,p1,p2;", "onsound_analysis 3|-1|12",
                 "onasm_pause EventType:B,,a;b,c;", "onasm_resume EventType:\0,p,;", "onsound_analysis 0",
                 "onsound_analysis"]);
    assertEqual(got[10][1].length, 15, "the NUL character is kept");
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
