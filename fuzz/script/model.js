// What a Tether object must answer and log, shared by the script-level
// fuzzer and the script tests: for each of the twenty methods, the
// properties it reads, the adapter call it makes as the simulated player
// records it, its result and its log lines; for each of the nine events, its
// property, its handler's log lines and the arguments its delivery passes.
// kite.load("model.js") defines FuzzModel.
(function (global) {
  const DESTROYED = "Attempt to access destroyed JavaScript object.";
  const NO_INSTANCE = "Cannot call native method without object instance";
  const NOT_NATIVE = "Attempt to pass a JSObject as a native object";

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

  // A number as printf's "%f" writes it.
  function printfF(value) {
    if (Number.isNaN(value)) return "nan";
    if (!Number.isFinite(value)) return value > 0 ? "inf" : "-inf";
    if (Object.is(value, -0)) return "-0.000000";
    return Math.abs(value) < 1e21 ? value.toFixed(6) : BigInt(value) + ".000000";
  }

  // What a property read yields, by the kind the command asks for; numbers
  // as read, before any conversion.
  const READ = {
    string: (value) => (typeof value === "string" ? readText(value) : ""),
    number: (value) => (typeof value === "number" ? value : 0),
    bool: (value) => (typeof value === "boolean" ? value : false),
  };

  const ONE_ARGUMENT = "Invalid param. aArgs.Length() < 1 ";

  // Each method: func, the agent function its lines name; reads, as
  // [argument index, key, kind] in reading order; needs, the line that
  // rejects a call with no argument (-2); countLine, "param length is %d"
  // first; said(reads, args), the lines after the reads; operation, the
  // adapter call as sim.answer names it, and record(reads), the simulated
  // player's record of it; leave, "LEAVE!!!" on success; failure, the line
  // when the adapter refuses.
  const METHODS = {
    player_create: { func: "Create", countLine: true, operation: "create", record: () => "create()" },
    player_set_uri: {
      func: "SetURI", countLine: true, needs: ONE_ARGUMENT, reads: [[0, "param_url", "string"]],
      said: (v) => ["5 Get the URL is " + v[0] + "!!!"],
      operation: "setUri", record: (v) => "setUri(" + recordedText(v[0]) + ")",
      failure: "m_pCinecasterAdapter->open failed!!!",
    },
    player_prepare: {
      func: "Prepare", operation: "prepare", record: () => "prepare()", failure: "m_pCinecasterAdapter->prepare failed!!!",
    },
    player_prepare_async: {
      func: "PrepareAsync", operation: "registerPrepareListener", record: () => "registerPrepareListener(null)",
      failure: "m_pCinecasterAdapter->prepareasync failed!!!",
    },
    player_set_output_area: {
      func: "SetOutputArea", noAdapterCall: true, leave: true,
      said: () => ["5 Do not call SetOutputArea when you use Tether. This method is deprecated in Tether."],
    },
    player_set_streaming_property: {
      func: "SetStreamingProperty", countLine: true, needs: ONE_ARGUMENT,
      reads: [[0, "param_property_type", "string"], [1, "param_property_param", "string"]],
      said: (v) => ["3 Get streaming property type is : " + v[0] + " , param is : " + v[1] + " !!!"],
      operation: "setStreamingProperty",
      record: (v) => "setStreamingProperty(" + recordedText(v[0]) + "," + recordedText(v[1]) + ")",
      leave: true, failure: "m_pCinecasterAdapter->setStreamingProperty failed!!!",
    },
    player_pause: {
      func: "Pause", operation: "Pause", record: () => "Pause()", leave: true,
      failure: "m_pCinecasterAdapter->Pause failed!!!",
    },
    player_resume: {
      func: "Resume", operation: "play", record: () => "play()", leave: true, failure: "m_pCinecasterAdapter->play failed!!!",
    },
    player_stop: {
      func: "Stop", operation: "Stop", record: () => "Stop()", leave: true, failure: "m_pCinecasterAdapter->Stop failed!!!",
    },
    player_play: {
      func: "Play", operation: "play", record: () => "play()", leave: true, failure: "m_pCinecasterAdapter->play failed!!!",
    },
    player_seek_to: {
      func: "SeekTo", needs: ONE_ARGUMENT, reads: [[0, "param_seek_to", "number"]],
      said: (v) => ["3 Get seek to param is " + printfF(v[0]) + " !!!"],
      operation: "seekTo", record: (v) => "seekTo(" + toInt32(v[0]) + ",null)",
      leave: true, failure: "m_pCinecasterAdapter->seekTo!!!",
    },
    player_skip: {
      func: "Skip", needs: ONE_ARGUMENT, reads: [[0, "param_skip", "number"]],
      said: (v) => ["3 Get seek to param is " + toInt32(v[0]) + " !!!"],
      operation: "Skip", record: (v) => "Skip(" + toInt32(v[0]) + ",null)",
      leave: true, failure: "m_pCinecasterAdapter->Skip!!!",
    },
    player_get_duration: {
      func: "GetDuration", operation: "GetDuration", record: () => "GetDuration()",
      query: (o) => lowInt32(o.report.duration), failure: "m_pCinecasterAdapter->GetDuration failed!!!",
    },
    player_get_current_position: {
      func: "GetCurrentPosition", operation: "GetCurrentPosition", record: () => "GetCurrentPosition()",
      query: (o) => lowInt32(o.report.position), failure: "m_pCinecasterAdapter->GetCurrentPosition failed!!!",
    },
    player_get_player_state: {
      func: "GetPlayerState", operation: "GetPlayerState", record: () => "GetPlayerState()", state: true,
      failure: "m_pCinecasterAdapter->GetPlayerState failed!!!",
    },
    player_register_sound_analysis_listener: {
      func: "RegisterSoundAnalysisListener", listener: true, operation: "registerSoundAnalysisListener",
      record: () => "registerSoundAnalysisListener(null)", leave: true,
      failure: "m_pCinecasterAdapter->registerSoundAnalysisListener!!!",
    },
    player_suspend: {
      func: "Suspend", needs: ONE_ARGUMENT, operation: "suspend", record: () => "suspend()", leave: true,
      failure: "m_pCinecasterAdapter->suspend failed!!!",
    },
    player_restore: {
      func: "Restore", needs: "aArgs.Length() < 1 , use default parameter",
      reads: [[0, "param_restore_url", "string"], [0, "param_restore_resume_time", "number"],
              [0, "param_restore_prepare", "bool"]],
      said: (v) => ["5 Use the parameters which got from aArgs, restore_url:" + v[0] + ", resumetime:" +
                    printfF(v[1]) + ", prepare:" + (v[2] ? 1 : 0) + " "],
      operation: "restore", record: (v) => "restore(" + recordedText(v[0]) + "," + toInt32(v[1]) + "," + v[2] + ")",
      leave: true, failure: "m_pCinecasterAdapter->restore failed!!!",
    },
    player_close: {
      func: "Close", operation: "close", record: () => "close()", leave: true,
      failure: "m_pCinecasterAdapter->close failed!!!",
    },
    player_set_party_tv_mode: {
      func: "SetPartyTVMode", countLine: true, reads: [[0, "param_party_mode", "bool"]],
      // Without an argument the mode stays off and the adapter is still told.
      said: (v, args) => (args.length === 0 ? ["5 " + ONE_ARGUMENT]
        : (typeof args[0] === "string" ? ["3 Get aArgs[0] is '" + readText(args[0]) + "'!!!"] : [])
          .concat(["5 Get the party mode is " + (v[0] ? 1 : 0) + "!!!"])),
      operation: "SetSoundAnalysis", record: (v) => "SetSoundAnalysis(" + (v.length > 0 ? v[0] : false) + ")",
      leave: true, failure: "m_pCinecasterAdapter->SetSoundAnalysis failed!!!",
    },
  };
  const METHOD_NAMES = Object.keys(METHODS);

  // Whether a call is rejected (-2) before anything is read.
  function rejects(name, args) {
    const method = METHODS[name];
    if (method.needs && args.length === 0) return true;
    return method.listener === true && (args.length <= 1 || typeof args[0] !== "function");
  }

  // The reads a call makes, given its arguments; none when the command
  // rejects the call first.
  function readsOf(name, args) {
    if (rejects(name, args)) return [];
    if (name === "player_set_party_tv_mode" && args.length === 0) return [];
    return METHODS[name].reads || [];
  }

  // The answer of a call that threw nothing: { result, record } where record
  // is the adapter call's record (null: none). values are the reads.
  // subject: { adapter, state, answers, report }.
  function expectedAnswer(name, args, values, subject) {
    const method = METHODS[name];
    const ecode = (code) => ({ return_ecode: code });
    if (method.noAdapterCall) return { result: ecode(0), record: null };
    if (rejects(name, args)) return { result: ecode(-2), record: null };
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

  // The lines of a command, as "priority function payload", from its ENTER
  // to its closing line with ecode (for a query: a refused one).
  function commandLines(name, args, values, ecode) {
    const method = METHODS[name];
    const lines = method.countLine ? ["4 param length is " + args.length] : [];
    if (ecode === -2) lines.push("5 " + (method.needs || "Invalid param. aArgs.Length() <= 1 "));
    else if (method.said) lines.push(...method.said(values, args));
    if (ecode === 0 && method.leave) lines.push("3 LEAVE!!!");
    if (ecode === -1 && method.failure) lines.push("5 " + method.failure);
    return ["3 ENTER!!!"].concat(lines, ["5 strCmd[" + name + "] ErrorCode[" + ecode + "]"])
      .map((line) => line[0] + " " + method.func + line.slice(1));
  }

  const QUEUED = "5 End clutter_threads_add_idle_full.";
  const COMPLETE = "5 Complete call js callback";
  const LEAVE = "3 LEAVE!!!";
  const asText = (text) => (text === "" ? [] : [text]);
  // The ASM text: the type takes one character, its low byte, which the
  // script reads as U+FFFD when it is not ASCII.
  function asmText(data) {
    const byte = (data.type || 0) & 0xff;
    const type = byte < 0x80 ? String.fromCharCode(byte) : "\ufffd";
    return "EventType:" + type + "," + eventText(data.param1 || "") + "," + eventText(data.param2 || "") + ";";
  }
  const asmLine = (data) => "5 Got the event is type: " + data.type + ", param1: " + data.param1 + ", param2: " +
    data.param2;

  // The nine events, by code: the property that receives them, the handler
  // that queues them, the arguments the delivery passes and the handler's
  // lines after ENTER, from the data sim.emit got.
  const EVENTS = [
    { property: "onbuffering", handler: "Buffering_CB", args: (d) => [String(d)],
      lines: (d) => ["5 Get the buffering percent is " + d + ", " + d + ".", QUEUED] },
    { property: "onprepare_complete", handler: "Prepare_Complete_CB", args: () => [],
      lines: () => ["5 Ready to call Prepare Complete callback.", QUEUED] },
    { property: "onplay_complete", handler: "Play_Complete_CB", args: () => [],
      lines: () => ["5 Ready to call Play Complete callback.", QUEUED] },
    { property: "onseek_complete", handler: "Seek_Complete_CB", args: () => [],
      lines: () => ["5 Ready to call Seek Complete callback.", QUEUED, LEAVE] },
    { property: "oncurrent_time", handler: "Current_Time_CB", args: (d) => [String(lowInt32(d))],
      lines: (d) => ["5 Ready to call js callback, strRes:" + lowInt32(d) + ", " + lowInt32(d), COMPLETE, LEAVE] },
    { property: "onerror_event", handler: "Error_Event_CB", args: (d) => asText(eventText(d.param1 || "")),
      lines: (d) => ["5 Got the Error event is type: " + d.type + ", param1: " + d.param1 + ", param2: " + d.param2,
                     "5 Ready to call onerror_event_callback, strRes:" + d.param1, COMPLETE, LEAVE] },
    { property: "onasm_pause", handler: "ASM_Pause_CB", args: (d) => [asmText(d)],
      lines: (d) => [asmLine(d), "5 Ready to call onasm_pause_callback, strRes:" + asmText(d), COMPLETE, LEAVE] },
    { property: "onasm_resume", handler: "ASM_Resume_CB", args: (d) => [asmText(d)],
      lines: (d) => [asmLine(d), COMPLETE, LEAVE] },
    { property: "onsound_analysis", handler: "SoundAnalysisCB", args: (d) => asText(d.join("|")),
      lines: (d) => ["5 band array size = [" + d.length + "]\n",
                     "5 Ready to call onsound_analysis_callback, strRes:" + d.join("|"), COMPLETE, LEAVE] },
  ];
  const PROPERTIES = EVENTS.map((event) => event.property);

  function eventArguments(code, data) {
    return EVENTS[code].args(data);
  }

  global.FuzzModel = {
    DESTROYED, NO_INSTANCE, NOT_NATIVE, PROPERTIES, METHODS, METHOD_NAMES, EVENTS, READ,
    readsOf, rejects, expectedAnswer, commandLines, eventArguments, lowInt32, toInt32, recordedText, readText,
  };
})(globalThis);
