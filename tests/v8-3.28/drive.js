// Tether objects driven through the whole script interface on the simulated
// player: every method (accepted, refused by the player, given unusable
// arguments, called on a wrong receiver), every callback property, events
// from the player's threads, destruction and collection. It prints every
// answer, every delivered event and every log line, so that its output on
// one V8 generation can be held against the other's. Written in ES5, the
// language of the TV's engine; it needs the host's kite functions (destroy,
// gc, afterIdle, captureLog, takeLog, tid) and sim.

var PROPERTIES = ["onbuffering", "onprepare_complete", "onplay_complete", "onseek_complete", "oncurrent_time",
                  "onerror_event", "onasm_pause", "onasm_resume", "onsound_analysis"];

// Each method: its arguments when the player accepts, the operation that
// sim.answer refuses, and arguments it cannot use (none for a method that
// reads none or uses defaults).
var METHODS = [
  ["player_create", [], "create"],
  ["player_set_uri", [{ param_url: "http://tv.example/a.mp4" }], "setUri", []],
  ["player_prepare", [], "prepare"],
  ["player_prepare_async", [], "registerPrepareListener"],
  ["player_set_output_area", [{ x: 1 }], null],
  ["player_set_streaming_property", [{ param_property_type: "BITRATE" }, { param_property_param: "5000" }],
   "setStreamingProperty", []],
  ["player_play", [], "play"],
  ["player_pause", [], "Pause"],
  ["player_resume", [], "play"],
  ["player_seek_to", [{ param_seek_to: 12345.9 }], "seekTo", []],
  ["player_skip", [{ param_skip: -4294967296 }], "Skip", []],
  ["player_stop", [], "Stop"],
  ["player_get_duration", [], "GetDuration"],
  ["player_get_current_position", [], "GetCurrentPosition"],
  ["player_get_player_state", [], "GetPlayerState"],
  ["player_register_sound_analysis_listener", [function () {}, 0], "registerSoundAnalysisListener", []],
  ["player_suspend", [{}], "suspend", []],
  ["player_restore", [{ param_restore_url: "b.mp4", param_restore_resume_time: 2500, param_restore_prepare: true }],
   "restore"],
  ["player_set_party_tv_mode", [{ param_party_mode: true }], "SetSoundAnalysis"],
  ["player_close", [], "close"],
];

// Each event: its code and what the player passes.
var EVENTS = [
  [sim.BUFFERING, 57],
  [sim.PREPARE_COMPLETE, null],
  [sim.PLAY_COMPLETE, null],
  [sim.SEEK_COMPLETE, null],
  [sim.CURRENT_TIME, 4294967296 + 1500],
  [sim.ERROR_EVENT, { type: 3, param1: "Network", param2: "timeout" }],
  [sim.ASM_PAUSE, { type: 0x141, param1: "call", param2: "" }],
  [sim.ASM_RESUME, { type: 66, param1: "p1", param2: "p2" }],
  [sim.SOUND_ANALYSIS, [3, -1, 12]],
];

var script = kite.tid();

function print(text) {
  console.log(text);
}

function show(value) {
  return value === undefined ? "undefined" : JSON.stringify(value);
}

// The log lines since the last look, with whether each was written on the
// script's thread.
function printLog() {
  var lines = kite.takeLog();
  for (var i = 0; i < lines.length; ++i) {
    var thread = /\[Thread Id:\[(\d+)\]\]/.exec(lines[i].text);
    var where = thread === null ? "" : Number(thread[1]) === script ? " (script thread)" : " (player thread)";
    print("  log " + lines[i].priority + " " + lines[i].tag + where + " " + JSON.stringify(lines[i].text));
  }
}

// A method called on a receiver: its answer, or what it threw.
function call(receiver, name, args) {
  try {
    return show(Tether.prototype[name].apply(receiver, args));
  } catch (e) {
    return e.name + ": " + e.message;
  }
}

var players = [];
var adapters = [];
var seen = [];

function newPlayer() {
  var player = new Tether();
  players.push(player);
  adapters.push(sim.count() - 1);
  seen.push(0);
  return players.length - 1;
}

// The operations the player was asked for since the last look.
function newCalls(n) {
  var all = sim.calls(adapters[n]);
  var fresh = all.slice(seen[n]);
  seen[n] = all.length;
  return fresh.join(" ");
}

function listen(n) {
  PROPERTIES.forEach(function (property) {
    players[n][property] = function () {
      var args = Array.prototype.slice.call(arguments);
      print("  event " + n + " " + property + " " + show(args) + (kite.tid() === script ? "" : " OFF THE SCRIPT THREAD"));
    };
  });
}

function emitAll(n) {
  EVENTS.forEach(function (event) {
    print("  emit " + event[0] + " " + show(event[1]) + ": " + sim.emit(adapters[n], event[0], event[1]));
  });
}

var STEPS = [
  ["a new object, and every callback property", function () {
    var n = newPlayer();
    print("  player " + n + ", adapter calls: " + newCalls(n));
    listen(n);
    print("  reads back: " + show(players[n].onbuffering));
  }],
  ["every method, accepted", function () {
    METHODS.forEach(function (method) {
      print("  " + method[0] + " " + show(method[1]) + ": " + call(players[0], method[0], method[1]) + " | " +
            newCalls(0));
    });
  }],
  ["queries that the player answers", function () {
    sim.report(adapters[0], { duration: 4294967296 + 90000, position: 4294967296 * 2 + 45000, state: 3 });
    ["player_get_duration", "player_get_current_position", "player_get_player_state"].forEach(function (name) {
      print("  " + name + ": " + call(players[0], name, []) + " | " + newCalls(0));
    });
  }],
  ["every method, refused by the player", function () {
    METHODS.forEach(function (method) {
      if (method[2] === null) return;
      sim.answer(adapters[0], method[2], false);
      print("  " + method[0] + ": " + call(players[0], method[0], method[1]) + " | " + newCalls(0));
      sim.answer(adapters[0], method[2], true);
    });
  }],
  ["unusable arguments", function () {
    METHODS.forEach(function (method) {
      if (method.length < 4) return;
      print("  " + method[0] + " " + show(method[3]) + ": " + call(players[0], method[0], method[3]) + " | " +
            newCalls(0));
    });
    print("  player_seek_to text: " + call(players[0], "player_seek_to", [{ param_seek_to: "5000" }]) + " | " +
          newCalls(0));
    print("  player_play on a plain object: " + call({}, "player_play", []));
    players[0].onsound_analysis = 5;
    print("  a number in onsound_analysis: " + show(players[0].onsound_analysis));
  }],
  ["texts beyond ASCII, a lone surrogate among them", function () {
    var url = "http://tv.example/\u00e9t\u00e9/\u6ce2/\ud83c\udfac\ud800.mp4";
    print("  player_set_uri: " + call(players[0], "player_set_uri", [{ param_url: url }]) + " | " + newCalls(0));
    print("  emit: " + sim.emit(adapters[0], sim.ERROR_EVENT, { type: 7, param1: "R\u00e9seau \u6ce2", param2: "" }));
  }],
  ["every event, from the player's thread", function () {
    emitAll(0);
  }],
  ["a burst of time events", function () {
    print("  burst: " + sim.burst(adapters[0], sim.CURRENT_TIME, 3, 2000));
    sim.drain(adapters[0]);
  }],
  ["events of a destroyed object are dropped", function () {
    var n = newPlayer();
    print("  player " + n + ", adapter calls: " + newCalls(n));
    listen(n);
    print("  emit: " + sim.emit(adapters[n], sim.SEEK_COMPLETE, null));
    print("  destroy: " + kite.destroy(players[n]) + ", again: " + kite.destroy(players[n]));
    print("  player_play: " + call(players[n], "player_play", []));
    print("  alive: " + sim.alive());
  }],
  ["collection", function () {
    var n = newPlayer();
    listen(n);
    print("  player " + n + ", adapter calls: " + newCalls(n) + ", alive: " + sim.alive());
    players[n] = null;
    kite.gc();
    print("  alive after the collection: " + sim.alive());
  }],
  ["the first object destroyed", function () {
    print("  destroy: " + kite.destroy(players[0]) + ", alive: " + sim.alive());
    players = [];
  }],
];

function runStep(i) {
  if (i === STEPS.length) {
    kite.captureLog(false);
    print("done");
    return;
  }
  print("== " + STEPS[i][0]);
  STEPS[i][1]();
  kite.afterIdle(function () {
    printLog();
    runStep(i + 1);
  });
}

kite.captureLog(true);
runStep(0);
