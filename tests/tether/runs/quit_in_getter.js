// kite.quit from a getter while a method is running: the call ends at once,
// nothing more of the script runs, and kite exits with the code.
const player = new Tether();
player.onbuffering = () => console.log("not delivered");
sim.emit(sim.count() - 1, sim.BUFFERING, 50);
player.player_set_uri({
  get param_url() {
    kite.quit(3);
    return "not read";
  },
});
console.log("not reached");
