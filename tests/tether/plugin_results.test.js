// Command results as scripts see them: a fresh plain object per call whose
// own properties are defined in order, as an object literal defines them, so
// that nothing Object.prototype holds under those names sees or changes them.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

// Each result shape: a command, a failing command, a query, a failing query;
// RESULTS holds their texts.
function results(player, adapter) {
  sim.answer(adapter, "Pause", true);
  sim.answer(adapter, "GetDuration", true);
  sim.report(adapter, { duration: 93000 });
  const list = [player.player_pause(), player.player_seek_to()];
  list.push(player.player_get_duration());
  sim.answer(adapter, "GetDuration", false);
  list.push(player.player_get_duration());
  return list;
}

const RESULTS = [
  '{"return_ecode":0}', '{"return_ecode":-2}',
  '{"return_ecode":0,"return_type":1,"return_data":93000}', '{"return_ecode":-1}',
];

// Runs fn with a property under each result name on Object.prototype.
function withOnPrototype(makeDescriptor, fn) {
  const names = ["return_ecode", "return_type", "return_data"];
  for (const name of names)
    Object.defineProperty(Object.prototype, name, Object.assign({ configurable: true }, makeDescriptor(name)));
  try {
    return fn();
  } finally {
    for (const name of names) delete Object.prototype[name];
  }
}

check("every result is a new plain object with its own properties in order", () => {
  const { player, adapter } = newPlayer();
  const first = results(player, adapter);
  const second = results(player, adapter);
  assertEqual(first.map((r) => JSON.stringify(r)), RESULTS);
  for (let i = 0; i < first.length; i++) {
    assertTrue(first[i] !== second[i], "fresh " + i);
    assertTrue(Object.getPrototypeOf(first[i]) === Object.prototype, "plain " + i);
    for (const key of Object.keys(first[i])) {
      const d = Object.getOwnPropertyDescriptor(first[i], key);
      assertEqual([d.writable, d.enumerable, d.configurable], [true, true, true], key);
    }
  }
  first[2].return_data = 1;
  assertEqual(player.player_get_duration().return_ecode, -1, "changing a result changes no other");
});

check("setters and read-only properties on Object.prototype leave every result alone", () => {
  const seen = [];
  const HOSTILE = [
    ["a setter that notes the value", (name) => ({ set(v) { seen.push(name + "=" + v); } })],
    ["a setter that throws", (name) => ({ set() { throw new Error(name); } })],
    ["a setter that destroys the object", (name) => ({ set() { seen.push(name); kite.destroy(this.player); } })],
    ["a read-only value", () => ({ value: 9, writable: false })],
  ];
  for (const [kind, makeDescriptor] of HOSTILE) {
    const { player, adapter } = newPlayer();
    Object.prototype.player = player;
    let list;
    try {
      list = withOnPrototype(makeDescriptor, () => results(player, adapter));
    } finally {
      delete Object.prototype.player;
    }
    assertEqual(list.map((r) => JSON.stringify(r)), RESULTS, kind);
    assertEqual(seen, [], kind + ": nothing on the prototype was called");
    assertEqual(player.player_pause(), { return_ecode: 0 }, kind + ": the object is still alive");
  }
});

done();
