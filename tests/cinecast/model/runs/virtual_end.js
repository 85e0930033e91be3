// With virtual time the run ends once nothing can run without the clock
// moving: a playing player and a later timer keep nobody waiting.
sim.media("film.mp4", { duration: 7200000 });
const player = new Tether();
player.player_create();
player.player_set_uri({ param_url: "film.mp4" });
player.player_prepare();
player.player_play();
setTimeout(() => console.log("never: the clock stands still"), 1000);
setTimeout(() => console.log("due now"), 0);
