// A player that the collector destroys while it plays: kite's warning names
// where it was made, as the report shows paths.
test("leaves a playing player to the collector", () => {
  (() => {
    const player = new Tether();
    player.player_set_uri({ param_url: "file:///media.mp4" });
    player.player_play();
  })();
  kite.gc();
});
