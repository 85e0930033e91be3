// Waits to be ended by a signal (interrupted.sh): a closed player still keeps
// the run going, and with "busy" the script's own code never returns.
globalThis.player = new Tether();
player.player_close();
console.log("ready");
if (kite.args[0] === "busy") for (;;) {}
