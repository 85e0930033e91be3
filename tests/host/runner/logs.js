// With --log=-, the log lines show with the output of the test that wrote
// them (a kite run test checks where).
test("creates a player", () => {
  const player = new Tether();
  player.player_create();
  kite.destroy(player);
});
