// Helpers of the Tether script tests: a player with its simulated adapter,
// the adapter calls made since the last look, and the plug-in's log lines
// taken apart into their frame and payload.

(function (global) {
  const TAG = "WRT_PLUGINS/CINECAST";
  const COLOUR = { 3: 33, 4: 32, 5: 31 };
  const FRAME = /^([^:]+): (~?\w+)\((\d+)\) > \x1b\[(\d+)m\[(~?\w+):(\d+)\] \[Thread Id:\[(\d+)\]\] ([\s\S]*)\x1b\[0m$/;
  // The bridge class's functions; the agent's are in PlayerAgent.cpp.
  const BRIDGE_FUNCTIONS = /^(Handle\w+|FireOnCallbacks|constructFromScript|mapScriptInterface)$/;

  // A new Tether object and its adapter; newCalls() gives the adapter calls
  // made since the previous newCalls() (the construction calls on the first).
  function newPlayer() {
    const player = new Tether();
    const adapter = sim.count() - 1;
    let seen = 0;
    function newCalls() {
      const all = sim.calls(adapter);
      const fresh = all.slice(seen);
      seen = all.length;
      return fresh;
    }
    return { player, adapter, newCalls };
  }

  // One captured line's frame, checked for consistency: the plug-in's tag, the
  // colour of its priority, the same function and line in both places, and
  // the source file that holds the function.
  function parseLine(line) {
    assertEqual(line.tag, TAG, "tag of " + JSON.stringify(line.text));
    const m = FRAME.exec(line.text);
    if (m === null) throw new Error("not in the common frame: " + JSON.stringify(line.text));
    assertEqual([m[5], m[6], Number(m[4]), m[1]],
                [m[2], m[3], COLOUR[line.priority], BRIDGE_FUNCTIONS.test(m[2]) ? "Tether.cpp" : "PlayerAgent.cpp"],
                "frame of " + JSON.stringify(line.text));
    return { file: m[1], func: m[2], line: Number(m[3]), tid: Number(m[7]), priority: line.priority, payload: m[8] };
  }

  // Runs fn with the log captured; the plug-in's lines as "priority function
  // payload". Lines must name the script's thread, or with onAdapter another.
  function logOf(fn, onAdapter = false) {
    kite.takeLog();
    kite.captureLog(true);
    try {
      fn();
    } finally {
      kite.captureLog(false);
    }
    return kite.takeLog().map((raw) => {
      const line = parseLine(raw);
      assertEqual(line.tid === kite.tid(), !onAdapter, "thread of " + JSON.stringify(raw.text));
      return line.priority + " " + line.func + " " + line.payload;
    });
  }

  // The whole log of a command or query: the handler's ENTER, then the
  // agent's (func) ENTER, its own lines (priority and payload) and its closing
  // line, with the query's answer when it has one.
  function queryLines(name, func, lines, ecode, value) {
    const closing = "5 strCmd[" + name + "] ErrorCode[" + ecode + "]" + (value === undefined ? "" : " IntVal[" + value + "]");
    return ["3 Handle" + func + " ENTER!!!"]
      .concat(["3 ENTER!!!"].concat(lines, [closing]).map((line) => line[0] + " " + func + line.slice(1)));
  }

  Object.assign(global, { newPlayer, parseLine, logOf, queryLines });
})(globalThis);
