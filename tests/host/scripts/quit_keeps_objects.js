// kite.quit ends the run while plug-in objects are alive; their natives are
// destroyed at exit.
globalThis.kept = [new Probe(), new Probe(), new Foreign()];
kite.quit();
console.log("not after quit");
