// What a Tether object must answer, for the script-level fuzzer: the
// properties each method reads, the conversions of what it read, the
// adapter call it makes as the simulated player records it, and the result.
// kite.load("model.js") defines FuzzModel.
(function (global) {
  const DESTROYED = "Attempt to access destroyed JavaScript object.";
  const NO_INSTANCE = "Cannot call native method without object instance";
  const NOT_NATIVE = "Attempt to pass a JSObject as a native object";

  const PROPERTIES = [
    "onbuffering", "onprepare_complete", "onplay_complete", "onseek_complete", "oncurrent_time",
    "onerror_event", "onasm_pause", "onasm_resume", "onsound_analysis",
  ];

  const LONE_SURROGATE = /[\ud800-\udbff](?![\udc00-\udfff])|(?<![\ud800-\udbff])[\udc00-\udfff]/g;

  // A string as the plug-in reads it from a script: lone surrogates become
  // U+FFFD.
  function readText(text) {
    return text.replace(LONE_SURROGATE, "\ufffd");
  }

  // A string that the simulated player passed to an event handler, as the
  // script receives it: a lone surrogate reached the player as three bytes
  // that are not UTF-8, each of which reads back as U+FFFD.
  function eventText(text) {
    return text.replace(LONE_SURROGATE, "\ufffd\ufffd\ufffd");
  }

  // The simulated player's record of a string argument.
  function recordedText(text) {
    const escaped = readText(text)
      .replace(/["\\]/g, "\\$&")
      .replace(/[\x00-\x1f]/g, (c) => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"));
    return '"' + escaped + '"';
  }

  // Truncation toward zero, held to the 32-bit range; NaN gives 0.
  function toInt32(value) {
    if (Number.isNaN(value)) return 0;
    if (value >= 2147483647) return 2147483647;
    if (value <= -2147483648) return -2147483648;
    return Math.trunc(value) | 0;
  }

  // The low 32 bits as a signed integer, of a Number or a BigInt.
  function lowInt32(value) {
    return Number(BigInt.asIntN(32, BigInt(value)));
  }

  // What a property read yields, by the kind the command asks for.
  const READ = {
    string: (value) => (typeof value === "string" ? readText(value) : ""),
    number: (value) => (typeof value === "number" ? toInt32(value) : 0),
    bool: (value) => (typeof value === "boolean" ? value : false),
  };

  // Each method: needsArgument (answers -2 without one), the reads as
  // [argument index, key, kind] in reading order, the adapter operation as
  // sim.answer names it, and the call's record from the converted reads.
  const METHODS = {
    player_create: { operation: "create", record: () => "create()" },
    player_set_uri: {
      needsArgument: true, reads: [[0, "param_url", "string"]], operation: "setUri",
      record: (v) => "setUri(" + recordedText(v[0]) + ")",
    },
    player_prepare: { operation: "prepare", record: () => "prepare()" },
    player_prepare_async: { operation: "registerPrepareListener", record: () => "registerPrepareListener(null)" },
    player_set_output_area: { noAdapterCall: true },
    player_set_streaming_property: {
      needsArgument: true, reads: [[0, "param_property_type", "string"], [1, "param_property_param", "string"]],
      operation: "setStreamingProperty",
      record: (v) => "setStreamingProperty(" + recordedText(v[0]) + "," + recordedText(v[1]) + ")",
    },
    player_pause: { operation: "Pause", record: () => "Pause()" },
    player_resume: { operation: "play", record: () => "play()" },
    player_stop: { operation: "Stop", record: () => "Stop()" },
    player_play: { operation: "play", record: () => "play()" },
    player_seek_to: {
      needsArgument: true, reads: [[0, "param_seek_to", "number"]], operation: "seekTo",
      record: (v) => "seekTo(" + v[0] + ",null)",
    },
    player_skip: {
      needsArgument: true, reads: [[0, "param_skip", "number"]], operation: "Skip",
      record: (v) => "Skip(" + v[0] + ",null)",
    },
    player_get_duration: { operation: "GetDuration", record: () => "GetDuration()", query: (o) => lowInt32(o.report.duration) },
    player_get_current_position: {
      operation: "GetCurrentPosition", record: () => "GetCurrentPosition()", query: (o) => lowInt32(o.report.position),
    },
    player_get_player_state: { operation: "GetPlayerState", record: () => "GetPlayerState()", state: true },
    player_register_sound_analysis_listener: {
      listener: true, operation: "registerSoundAnalysisListener", record: () => "registerSoundAnalysisListener(null)",
    },
    player_suspend: { needsArgument: true, operation: "suspend", record: () => "suspend()" },
    player_restore: {
      needsArgument: true,
      reads: [[0, "param_restore_url", "string"], [0, "param_restore_resume_time", "number"],
              [0, "param_restore_prepare", "bool"]],
      operation: "restore", record: (v) => "restore(" + recordedText(v[0]) + "," + v[1] + "," + v[2] + ")",
    },
    player_close: { operation: "close", record: () => "close()" },
    player_set_party_tv_mode: {
      reads: [[0, "param_party_mode", "bool"]], operation: "SetSoundAnalysis",
      record: (v) => "SetSoundAnalysis(" + (v.length > 0 ? v[0] : false) + ")",
    },
  };
  const METHOD_NAMES = Object.keys(METHODS);

  // The reads a call makes, given how many arguments it had and what its
  // first argument is; none when the command rejects the call first.
  function readsOf(name, args) {
    const method = METHODS[name];
    if (method.needsArgument && args.length === 0) return [];
    if (name === "player_set_party_tv_mode" && args.length === 0) return [];
    return method.reads || [];
  }

  // The answer of a call that threw nothing: { result, record } where record
  // is the adapter call's record (null: none). values are the converted
  // reads. subject: { adapter, state, answers, report }.
  function expectedAnswer(name, args, values, subject) {
    const method = METHODS[name];
    const ecode = (code) => ({ return_ecode: code });
    if (method.noAdapterCall) return { result: ecode(0), record: null };
    if (method.needsArgument && args.length === 0) return { result: ecode(-2), record: null };
    if (method.listener && (args.length <= 1 || typeof args[0] !== "function")) return { result: ecode(-2), record: null };
    if (method.state && subject.state === 5)
      return { result: { return_ecode: 0, return_type: 1, return_data: 5 }, record: null };
    if (subject.adapter < 0) return { result: ecode(-1), record: null };
    const record = method.record(values);
    if (subject.answers[method.operation] === false) return { result: ecode(-1), record };
    if (method.query) return { result: { return_ecode: 0, return_type: 1, return_data: method.query(subject) }, record };
    if (method.state) {
      const state = subject.report.state;
      if (state > 4) return { result: ecode(-1), record };
      return { result: { return_ecode: 0, return_type: 1, return_data: state }, record };
    }
    return { result: ecode(0), record };
  }

  // The arguments an event's delivery passes, from the data sim.emit got.
  function eventArguments(code, data) {
    const asText = (text) => (text === "" ? [] : [text]);
    switch (code) {
      case 0:
        return [String(data)];
      case 4:
        return [String(lowInt32(data))];
      case 5:
        return asText(eventText(data.param1 || ""));
      case 6:
      case 7: {
        const byte = (data.type || 0) & 0xff;
        const type = byte < 0x80 ? String.fromCharCode(byte) : "\ufffd";
        return ["EventType:" + type + "," + eventText(data.param1 || "") + "," + eventText(data.param2 || "") + ";"];
      }
      case 8:
        return asText(data.join("|"));
      default:
        return [];
    }
  }

  global.FuzzModel = {
    DESTROYED, NO_INSTANCE, NOT_NATIVE, PROPERTIES, METHODS, METHOD_NAMES, READ,
    readsOf, expectedAnswer, eventArguments, lowInt32,
  };
})(globalThis);
