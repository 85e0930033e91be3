// Players left to the collector, each made on a line of its own: kite warns,
// naming that line, for those that had a URL and were not stopped or closed
// since, and only when the collector destroyed them.
const url = { param_url: "file:///media.mp4" };
const rows = [
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_prepare(); p.player_play(); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_play(); p.player_stop(); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_close(); }],
  [() => new Tether(), (p) => { p.player_play(); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_stop(); p.player_play(); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_play(); kite.destroy(p); }],
  [() => new Tether(), (p) => { p.player_set_uri(url); p.player_close(); p.player_set_uri(url); }],
  [() => new Tether(), (p) => { p.player_set_uri({ param_url: "" }); p.player_play(); }],
];
for (const [make, use] of rows) {
  use(make());
  kite.gc();
}
if (kite.args[0] === "quit") {
  // Reachable to the end: destroyed on the way out, not collected.
  globalThis.kept = new Tether();
  kept.player_set_uri(url);
  kept.player_play();
  kite.quit();
}
// Made inside a function and left playing: the run ends by collecting it.
(function start() { const player = new Tether(); player.player_set_uri(url); player.player_play(); })();
