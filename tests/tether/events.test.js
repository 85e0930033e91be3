// Player events through the simulated adapter's thread to the script: each
// handler's lines and text, its guards, and delivery at idle time, each case
// written out in its row; the script fuzzer's model agrees with the rows.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

// The callback properties, by event code.
const PROPERTIES = ["onbuffering", "onprepare_complete", "onplay_complete", "onseek_complete", "oncurrent_time",
                    "onerror_event", "onasm_pause", "onasm_resume", "onsound_analysis"];
const got = [];
const { player, adapter } = newPlayer();
for (const property of PROPERTIES) player[property] = (...args) => got.push([property].concat(args));

// [code, data, the handler, its lines (priority and payload), the arguments
// that the property's function receives], in emitting order.
const EMITTED = [
  [sim.BUFFERING, -5, "Buffering_CB",
   ["3 ENTER!!!", "5 Get the buffering percent is -5, -5.", "5 End clutter_threads_add_idle_full."], ["-5"]],
  [sim.PREPARE_COMPLETE, null, "Prepare_Complete_CB",
   ["3 ENTER!!!", "5 Ready to call Prepare Complete callback.", "5 End clutter_threads_add_idle_full."], []],
  [sim.PLAY_COMPLETE, null, "Play_Complete_CB",
   ["3 ENTER!!!", "5 Ready to call Play Complete callback.", "5 End clutter_threads_add_idle_full."], []],
  [sim.SEEK_COMPLETE, null, "Seek_Complete_CB",
   ["3 ENTER!!!", "5 Ready to call Seek Complete callback.", "5 End clutter_threads_add_idle_full.", "3 LEAVE!!!"], []],
  [sim.CURRENT_TIME, 2147483648, "Current_Time_CB",
   ["3 ENTER!!!", "5 Ready to call js callback, strRes:-2147483648, -2147483648", "5 Complete call js callback",
    "3 LEAVE!!!"], ["-2147483648"]],
  [sim.ERROR_EVENT, { type: 3, param1: "Network", param2: "debug" }, "Error_Event_CB",
   ["3 ENTER!!!", "5 Got the Error event is type: 3, param1: Network, param2: debug",
    "5 Ready to call onerror_event_callback, strRes:Network", "5 Complete call js callback", "3 LEAVE!!!"],
   ["Network"]],
  [sim.ASM_PAUSE, { type: 0x141, param1: "a,b", param2: "" }, "ASM_Pause_CB",
   ["3 ENTER!!!", "5 Got the event is type: 321, param1: a,b, param2: ",
    "5 Ready to call onasm_pause_callback, strRes:EventType:A,a,b,;", "5 Complete call js callback", "3 LEAVE!!!"],
   ["EventType:A,a,b,;"]],
  [sim.ASM_RESUME, { type: 66, param1: "p1", param2: "p2" }, "ASM_Resume_CB",
   ["3 ENTER!!!", "5 Got the event is type: 66, param1: p1, param2: p2", "5 Complete call js callback", "3 LEAVE!!!"],
   ["EventType:B,p1,p2;"]],
  [sim.SOUND_ANALYSIS, [3, -1, 12], "SoundAnalysisCB",
   ["3 ENTER!!!", "5 band array size = [3]\n", "5 Ready to call onsound_analysis_callback, strRes:3|-1|12",
    "5 Complete call js callback", "3 LEAVE!!!"], ["3|-1|12"]],
  [sim.ERROR_EVENT, { type: 1, param1: "", param2: "never seen" }, "Error_Event_CB",
   ["3 ENTER!!!", "5 Got the Error event is type: 1, param1: , param2: never seen",
    "5 Ready to call onerror_event_callback, strRes:", "5 Complete call js callback", "3 LEAVE!!!"], []],
  [sim.ASM_PAUSE, { type: 0x142, param1: "", param2: "a;b,c" }, "ASM_Pause_CB",
   ["3 ENTER!!!", "5 Got the event is type: 322, param1: , param2: a;b,c",
    "5 Ready to call onasm_pause_callback, strRes:EventType:B,,a;b,c;", "5 Complete call js callback", "3 LEAVE!!!"],
   ["EventType:B,,a;b,c;"]],
  [sim.ASM_RESUME, { type: 0xe9, param1: "p", param2: "" }, "ASM_Resume_CB",
   ["3 ENTER!!!", "5 Got the event is type: 233, param1: p, param2: ", "5 Complete call js callback", "3 LEAVE!!!"],
   ["EventType:\ufffd,p,;"]],
  [sim.SOUND_ANALYSIS, [0], "SoundAnalysisCB",
   ["3 ENTER!!!", "5 band array size = [1]\n", "5 Ready to call onsound_analysis_callback, strRes:0",
    "5 Complete call js callback", "3 LEAVE!!!"], ["0"]],
  [sim.SOUND_ANALYSIS, [], "SoundAnalysisCB",
   ["3 ENTER!!!", "5 band array size = [0]\n", "5 Ready to call onsound_analysis_callback, strRes:",
    "5 Complete call js callback", "3 LEAVE!!!"], []],
];

// Handler lines are written on the adapter's thread, by the agent's handler.
function handlerLines(emit) {
  let answer;
  const lines = logOf(() => { answer = emit(); }, true);
  return { answer, lines };
}

check("each handler's lines, and its answer", () => {
  for (const [code, data, handler, lines] of EMITTED)
    assertEqual(handlerLines(() => sim.emit(adapter, code, data)),
                { answer: true, lines: lines.map((line) => line[0] + " " + handler + line.slice(1)) },
                handler + " " + JSON.stringify(data));
});

check("guards: null user data, null event, null bands queue nothing", () => {
  const guarded = [[sim.BUFFERING, 1, { userData: null }, "Buffering_CB"],
                   [sim.PREPARE_COMPLETE, null, { userData: null }, "Prepare_Complete_CB"],
                   [sim.CURRENT_TIME, 1, { userData: null }, "Current_Time_CB"],
                   [sim.ASM_PAUSE, { type: 1 }, { userData: null }, "ASM_Pause_CB"],
                   [sim.ERROR_EVENT, null, {}, "Error_Event_CB"], [sim.ASM_PAUSE, null, {}, "ASM_Pause_CB"],
                   [sim.ASM_RESUME, null, {}, "ASM_Resume_CB"], [sim.SOUND_ANALYSIS, null, {}, "SoundAnalysisCB"]];
  for (const [code, data, options, handler] of guarded) {
    assertEqual(handlerLines(() => sim.emit(adapter, code, data, options)),
                { answer: false, lines: ["3 " + handler + " ENTER!!!", "5 " + handler + " pThis == NULL, Invalid param."] },
                handler + " " + JSON.stringify([data, options]));
  }
});

check("the script fuzzer's model agrees with every row", () => {
  kite.load("../../fuzz/script/model.js");
  assertEqual(FuzzModel.PROPERTIES, PROPERTIES);
  for (const [code, data, handler, lines, args] of EMITTED) {
    const event = FuzzModel.EVENTS[code];
    assertEqual([event.handler, ["3 ENTER!!!"].concat(event.lines(data)), event.args(data)], [handler, lines, args],
                handler + " " + JSON.stringify(data));
  }
});

kite.afterIdle(() => {
  check("texts as the script receives them: a string, or no argument when empty", () => {
    assertEqual(got, EMITTED.map(([code, , , , args]) => [PROPERTIES[code]].concat(args)));
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
