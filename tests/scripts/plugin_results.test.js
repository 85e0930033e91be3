// Command results as scripts see them: a fresh plain object per call whose
// properties are assigned in order, so that whatever Object.prototype holds
// under those names acts on them exactly as on any assignment. A setter that
// throws is in hostile_getters.test.js.
kite.load("lib/assert.js");
kite.load("lib/tether.js");

// Each result shape: a command, a failing command, a query, a failing query.
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

function withOnPrototype(name, descriptor, fn) {
  Object.defineProperty(Object.prototype, name, Object.assign({ configurable: true }, descriptor));
  try {
    return fn();
  } finally {
    delete Object.prototype[name];
  }
}

check("every result is a new plain object with its own properties in order", () => {
  const { player, adapter } = newPlayer();
  const first = results(player, adapter);
  const second = results(player, adapter);
  assertEqual(first.map((r) => JSON.stringify(r)), [
    '{"return_ecode":0}', '{"return_ecode":-2}',
    '{"return_ecode":0,"return_type":1,"return_data":93000}', '{"return_ecode":-1}',
  ]);
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

check("a setter on Object.prototype receives the value instead of the result", () => {
  const { player, adapter } = newPlayer();
  const seen = [];
  const list = withOnPrototype("return_ecode", { set(v) { seen.push([this === undefined, v]); } },
    () => results(player, adapter));
  assertEqual(seen, [[false, 0], [false, -2], [false, 0], [false, -1]]);
  assertEqual(list.map((r) => Object.keys(r)), [[], [], ["return_type", "return_data"], []]);
  // Gone from the prototype, it is gone from the results too.
  assertEqual(JSON.stringify(results(player, adapter)[0]), '{"return_ecode":0}');
});

check("a read-only property on Object.prototype keeps its value, silently", () => {
  const { player, adapter } = newPlayer();
  withOnPrototype("return_type", { value: 9, writable: false }, () => {
    const list = results(player, adapter);
    assertEqual(JSON.stringify(list[2]), '{"return_ecode":0,"return_data":93000}');
    assertEqual(list[2].return_type, 9);
    assertEqual(JSON.stringify(list[0]), '{"return_ecode":0}');
  });
});

done();
