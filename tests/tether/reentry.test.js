// Script code that runs while a method of an object is running (a getter or
// a proxy trap of an argument) may destroy the object or use it again. The object reads as destroyed at once; its
// agent stays until the outermost running call has returned, then goes.
// Callbacks may do the same during delivery.
kite.load("../support/lib/assert.js");
kite.load("lib/tether.js");

const DESTROYED = "Attempt to access destroyed JavaScript object.";

// Whether adapter i still exists: it takes an event only while it does (the
// prepare-complete event, which these tests never listen to).
function adapterAlive(i) {
  return sim.emit(i, sim.PREPARE_COMPLETE);
}

check("a getter that destroys its object: the call completes, the agent goes after it", () => {
  const { player, adapter, newCalls } = newPlayer();
  newCalls();
  const seen = [];
  const adapters = sim.alive();
  let result;
  const lines = logOf(() => {
    result = player.player_set_uri({
      get param_url() {
        seen.push(kite.destroy(player), kite.destroy(player), sim.alive() === adapters);
        assertThrows(() => player.player_play(), DESTROYED);
        assertThrows(() => { player.onbuffering = () => {}; }, DESTROYED);
        return "http://late";
      },
    });
  });
  assertEqual(result, { return_ecode: 0 });
  assertEqual(seen, [true, false, true], "destroy answers, adapter alive during the call");
  assertEqual(newCalls(), ['setUri("http://late")']);
  assertEqual(adapterAlive(adapter), false);
  assertEqual(lines.map((line) => line.replace(/\[0x[0-9a-f]+\]/, "[agent]")), [
    "3 HandleSetURI ENTER!!!", "3 SetURI ENTER!!!", "4 SetURI param length is 1", "5 SetURI Get the URL is http://late!!!",
    "5 SetURI strCmd[player_set_uri] ErrorCode[0]",
    "5 ~CPlayerAgent Start to destroy CPlayerAgent[agent].", "5 ~CPlayerAgent End to destroy CPlayerAgent[agent].",
  ]);
  assertThrows(() => player.player_get_player_state(), DESTROYED);
});

check("nested calls on one object: the agent goes when the outermost returns", () => {
  const { player, adapter } = newPlayer();
  const alive = [];
  const inner = { get param_seek_to() { kite.destroy(player); alive.push(adapterAlive(adapter)); return 1; } };
  const outer = {
    get param_skip() {
      alive.push(player.player_seek_to(inner).return_ecode, adapterAlive(adapter));
      return 2;
    },
  };
  assertEqual(player.player_skip(outer), { return_ecode: 0 });
  assertEqual(alive, [true, 0, true]);
  assertEqual(adapterAlive(adapter), false);
});

check("a collection from a getter leaves the running object alone", () => {
  const { player, adapter } = newPlayer();
  let dropped = newPlayer();
  const droppedAdapter = dropped.adapter;
  dropped = null;
  const result = player.player_set_uri({ get param_url() { kite.gc(); return "u"; } });
  assertEqual(result, { return_ecode: 0 });
  assertEqual([adapterAlive(adapter), adapterAlive(droppedAdapter)], [true, false]);
  kite.destroy(player);
});

// Callbacks that use and then destroy their own object during delivery.
const selfish = newPlayer();
const calledBack = [];
selfish.player.onseek_complete = () => {
  calledBack.push(selfish.player.player_get_player_state().return_data);
  calledBack.push(kite.destroy(selfish.player));
  try {
    selfish.player.player_play();
  } catch (e) {
    calledBack.push(e.message);
  }
};
sim.emit(selfish.adapter, sim.SEEK_COMPLETE);
sim.emit(selfish.adapter, sim.SEEK_COMPLETE);

kite.afterIdle(() => {
  check("a callback may use and destroy its own object; its later records call nothing", () => {
    assertEqual(calledBack, [5, true, DESTROYED]);
    assertEqual(adapterAlive(selfish.adapter), false);
  });
  done();
});
