// Unusual values in every argument: strings with zero bytes, lone surrogates
// and megabytes of text; numbers at and beyond the edges; and values of every
// kind where an argument object is expected. Each call answers a result and
// passes to the adapter exactly what the conversions promise.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");
kite.load("../../fuzz/script/model.js");

const MEGABYTES = "\u00e9\u4e2d\ud83d\ude00x".repeat(300000);  // 3 MB of UTF-8
const STRINGS = [
  "", "a\0b", "\0", "\0\0tail", "lone \ud800 high", "lone \udc00 low", "\udc00\ud800", "pair \ud83d\ude00",
  "quote \" backslash \\ control \x01\x1f", MEGABYTES, MEGABYTES + "\0" + "\ud800",
];

const recorded = FuzzModel.recordedText;

check("every string argument reaches the adapter whole", () => {
  const { player, newCalls } = newPlayer();
  newCalls();
  for (const text of STRINGS) {
    const what = "text of length " + text.length;
    assertEqual(player.player_set_uri({ param_url: text }), { return_ecode: 0 }, what);
    assertEqual(player.player_set_streaming_property({ param_property_type: text }, { param_property_param: text }),
                { return_ecode: 0 }, what);
    assertEqual(player.player_restore({ param_restore_url: text }), { return_ecode: 0 }, what);
    assertEqual(player.player_set_party_tv_mode(text), { return_ecode: 0 }, what);
    const r = recorded(text);
    assertTrue(deepEqual(newCalls(), ["setUri(" + r + ")", "setStreamingProperty(" + r + "," + r + ")",
                                      "restore(" + r + ",0,false)", "SetSoundAnalysis(false)"]), what);
  }
  kite.destroy(player);
});

check("a logged string of megabytes is logged whole up to its first zero byte", () => {
  const { player } = newPlayer();
  const lines = logOf(() => player.player_set_uri({ param_url: MEGABYTES + "\0hidden" }));
  assertTrue(lines[3] === "5 SetURI Get the URL is " + MEGABYTES + "!!!");
  kite.destroy(player);
});

// Numbers and the 32-bit integer the adapter receives.
const NUMBERS = [
  [NaN, 0], [Infinity, 2147483647], [-Infinity, -2147483648], [-0.9, 0], [250.9, 250], [-30.5, -30],
  [2 ** 31 - 1, 2147483647], [2 ** 31, 2147483647], [-(2 ** 31), -2147483648], [-(2 ** 31) - 1, -2147483648],
  [1e308, 2147483647], [Number.MIN_VALUE, 0],
];

check("numbers at and beyond the edges are truncated and held to 32 bits", () => {
  const { player, newCalls } = newPlayer();
  newCalls();
  for (const [number, integer] of NUMBERS) {
    assertEqual(player.player_seek_to({ param_seek_to: number }), { return_ecode: 0 }, "seek " + number);
    assertEqual(player.player_skip({ param_skip: number }), { return_ecode: 0 }, "skip " + number);
    assertEqual(player.player_restore({ param_restore_resume_time: number }), { return_ecode: 0 }, "restore " + number);
    assertEqual(newCalls(), ["seekTo(" + integer + ",null)", "Skip(" + integer + ",null)",
                             'restore("",' + integer + ",false)"], String(number));
  }
  // Numbers that are not of type number are not numbers here.
  for (const notNumber of [10n, new Number(5), "5", true, [5], { valueOf: () => 5 }]) {
    player.player_seek_to({ param_seek_to: notNumber });
    assertEqual(newCalls(), ["seekTo(0,null)"], typeof notNumber);
  }
  kite.destroy(player);
});

// Values where argument objects are expected. Objects of every kind carry
// their param_ properties (own or inherited); everything else reads as
// empty, so the defaults go to the adapter.
function withParams(target) {
  target.param_url = "u";
  target.param_seek_to = 5;
  target.param_party_mode = true;
  return target;
}
const OBJECTS = {
  "function": withParams(function () {}),
  "array": withParams([1, 2]),
  "null-prototype object": withParams(Object.create(null)),
  "inherited": Object.create(withParams({})),
  "boxed string": withParams(new String("s")),
  "proxy": new Proxy(withParams({}), {}),
  "Tether object": withParams(new Tether()),
};
const NON_OBJECTS = {
  "symbol": Symbol("s"), "bigint": 12345678901234567890n, "string": "param_url", "number": 5, "true": true,
  "null": null, "undefined": undefined,
};

check("objects of every kind are argument objects; other values read as empty", () => {
  const { player, newCalls } = newPlayer();
  newCalls();
  for (const [kind, value] of Object.entries(OBJECTS)) {
    player.player_set_uri(value);
    player.player_seek_to(value);
    player.player_set_party_tv_mode(value);
    assertEqual(newCalls(), ['setUri("u")', "seekTo(5,null)", "SetSoundAnalysis(true)"], kind);
  }
  for (const [kind, value] of Object.entries(NON_OBJECTS)) {
    for (const method of ["player_set_uri", "player_set_streaming_property", "player_seek_to", "player_skip",
                          "player_restore", "player_set_party_tv_mode", "player_suspend"]) {
      assertEqual(player[method](value).return_ecode, 0, kind + " " + method);
    }
    assertEqual(newCalls(), ['setUri("")', 'setStreamingProperty("","")', "seekTo(0,null)", "Skip(0,null)",
                             'restore("",0,false)', "SetSoundAnalysis(false)", "suspend()"], kind);
  }
  kite.destroy(OBJECTS["Tether object"]);
  kite.destroy(player);
});

check("the sound-analysis registration takes anything callable as its function", () => {
  const { player, newCalls } = newPlayer();
  newCalls();
  const callables = [function () {}, () => 1, class {}, async () => 1, function* () {}, Math.max,
                     (() => 1).bind(null), new Proxy(function () {}, {}), Tether];
  for (const callable of callables)
    assertEqual(player.player_register_sound_analysis_listener(callable, 0), { return_ecode: 0 }, String(callable));
  const others = [{}, Symbol("f"), 1n, "function", [function () {}], new Proxy({}, {}), null, undefined];
  for (const other of others)
    assertEqual(player.player_register_sound_analysis_listener(other, 0), { return_ecode: -2 }, typeof other);
  assertEqual(newCalls().length, callables.length);
  kite.destroy(player);
});

// Event texts of every kind of string the player may report, and of numbers
// at the edges. A lone surrogate reaches the player as three bytes that are
// not UTF-8, each of which the script reads as U+FFFD.
function delivered(text) {
  return text.replace(/[\ud800-\udbff](?![\udc00-\udfff])|(?<![\ud800-\udbff])[\udc00-\udfff]/g, "\ufffd\ufffd\ufffd");
}
const events = newPlayer();
const received = [];
events.player.onerror_event = (...args) => received.push(args);
events.player.onbuffering = (...args) => received.push(args);
events.player.oncurrent_time = (...args) => received.push(args);
for (const text of STRINGS) sim.emit(events.adapter, sim.ERROR_EVENT, { type: -1, param1: text, param2: text });
for (const percent of [-2147483648n, -1, 0, 2147483647n]) sim.emit(events.adapter, sim.BUFFERING, percent);
for (const time of [0n, 2n ** 31n, 2n ** 32n + 5n, 2n ** 64n - 1n]) sim.emit(events.adapter, sim.CURRENT_TIME, time);

kite.afterIdle(() => {
  check("event texts arrive whole", () => {
    const expected = STRINGS.map((text) => (text === "" ? [] : [delivered(text)]))
      .concat([["-2147483648"], ["-1"], ["0"], ["2147483647"]])
      .concat([["0"], ["-2147483648"], ["5"], ["-1"]]);
    assertEqual(received.length, expected.length);
    for (let i = 0; i < expected.length; i++) assertTrue(deepEqual(received[i], expected[i]), "event " + i);
  });
  kite.destroy(events.player);
  done();
});
