// Calls that scripts/check-types.sh refuses, each with a message that names
// the method and the argument it expects (scripts/test.sh checks them).
const player = new Tether();
player.player_set_uri('file.mp4');
player.player_seek_to(5000);
// The arguments' types reach the function: here a string.
setTimeout((count) => count.toFixed(1), 10, 'three');
