// The model on the wall clock: a 300 ms medium plays to its end by itself.
sim.media("short.wav", { duration: 300 });
const player = new Tether();
try {
  sim.advance(10);
} catch (e) {
  console.log(String(e));
}
player.onplay_complete = () => {
  console.log("play_complete after 300 ms or more:", sim.now() >= 300 && performance.now() >= 300);
  kite.destroy(player);
};
player.player_create();
player.player_set_uri({ param_url: "short.wav" });
player.player_prepare();
player.player_play();
