// Runs a script in Node.js 0.12 as the TV's engine would run it with the
// plug-in: node --expose-gc run.js HOST.node PLUGIN.so SCRIPT.js
// HOST.node (NodeHost.cpp) installs the plug-in's classes and sim on the
// global object; the script also gets the kite functions it needs, over the
// host's, with the collection that --expose-gc gives.
var vm = require("vm");
var fs = require("fs");
var path = require("path");

var host = require(path.resolve(process.argv[2]));
var classes = host.loadPlugin(process.argv[3]);
if (classes.length === 0) throw new Error(process.argv[3] + " installed no script class");
// A second loadBridges answers the first call's bridge, alive, and a new
// one of the same class, which is not installed again.
if (host.loadPlugin(process.argv[3]).length !== 0) throw new Error("a class was installed twice");
host.installSim();
kite = {
  gc: function () {
    gc();
    host.destroyCollected();
  },
  destroy: host.destroy,
  afterIdle: host.afterIdle,
  captureLog: host.captureLog,
  takeLog: host.takeLog,
  tid: host.tid,
};
// Objects still alive are destroyed with their players, as at the end of a
// page.
process.on("exit", host.detach);
vm.runInThisContext(fs.readFileSync(process.argv[4], "utf8"), process.argv[4]);
