// The model on the wall clock: a 300 ms medium plays to its end by itself,
// and the clock cannot be moved by hand.
sim.media("short.wav", { duration: 300 });
const player = new Tether();
for (const move of [() => sim.advance(10), () => sim.runAll(), () => sim.runUntil(() => true)]) {
  try {
    move();
  } catch (e) {
    console.log(String(e));
  }
}
player.onplay_complete = () => {
  console.log("play_complete after 300 ms or more:", sim.now() >= 300 && performance.now() >= 300);
  kite.destroy(player);
};
player.player_create();
player.player_set_uri({ param_url: "short.wav" });
player.player_prepare();
player.player_play();
