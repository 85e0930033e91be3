// What a native holds without keeping it alive: callback properties kept by
// their objects, weak ScriptFunctions a plug-in holds, and objects that keep
// no run. Each row's object is made in one turn of the loop and looked at
// after kite.gc in the next, when no WeakRef keeps its target any more.
kite.load("../support/lib/assert.js");

// [what, make(): the object to drop, whether kite.gc collects it]
const CYCLES = [
  ["a Probe whose onvalue closes over it",
   () => { const p = new Probe(); p.onvalue = () => p.argCount(); return p; }, true],
  ["a Shelf whose onsaved closes over it, assigned twice",
   () => { const s = new Shelf(); s.onsaved = () => s; s.onsaved = () => s.size; return s; }, true],
  ["a Probe that a global's callback reaches",
   () => { const p = new Probe(); globalThis.reach = () => p; return p; }, false],
];

// [what, hold(probe): what the Probe holds, whether it holds a function after kite.gc, whether held weakly]
const HELD = [
  ["a weak copy lets its function go", (p) => p.holdWeak(() => 1), false, true],
  ["a strong copy of a weak one keeps it", (p) => p.holdWeak(() => 1, "strong"), true, false],
  ["a weak copy of a function the script keeps", (p) => p.holdWeak(globalThis.keptFn = () => 1), true, true],
];

const holder = new Probe();
const refs = CYCLES.map(([, make]) => new WeakRef(make()));
const holders = HELD.map(() => new Probe());
const weak = HELD.map(([, hold], i) => hold(holders[i]));
const shelf = new Shelf();
shelf.onsaved = (n) => n + 40;
shelf.add(2, "pen");
const destroyedBefore = holder.destroyedCount();

setTimeout(() => {
  kite.gc();
  CYCLES.forEach(([what, , collected], i) => {
    check(what, () => assertEqual(refs[i].deref() === undefined, collected));
  });
  check("the collected Probe's native is destroyed", () => {
    assertEqual(holder.destroyedCount(), destroyedBefore + 1);
  });
  HELD.forEach(([what, , held, isWeak], i) => {
    check(what, () => assertEqual([holders[i].held(), weak[i]], [held, isWeak]));
  });
  check("an object keeps its callback property's function", () => {
    assertEqual([typeof shelf.onsaved, shelf.save()], ["function", 42]);
  });
  done();
}, 0);
