// One command that writes a line of each of Tether's coloured priorities:
// its entry (debug), its argument count (info) and its result (warning).
const player = new Tether();
player.player_create();
kite.destroy(player);
