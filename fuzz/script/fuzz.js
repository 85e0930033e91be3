// The script-level fuzzer: from a seed, long random sequences of Tether
// constructions, method calls with hostile arguments, callback property
// assignments, kite.destroy, kite.gc, dropped objects and sim events of every
// code. Argument objects may throw from getters and proxy traps, or run
// further steps from them (re-entrant calls, destruction of the object whose
// method is running). After every step it checks against its own model:
//   - each method answered exactly the result the model predicts (its
//     "return_ecode" 0, -1 or -2, and a query's data), or threw the binding's
//     message, or the script's own exception, and made exactly the adapter
//     call the model predicts;
//   - every event to a live object was delivered exactly once, in order, to
//     the function its property held at delivery time, with the right text;
//     no event reached a destroyed object;
//   - the natives behind destroyed objects go exactly when the outermost
//     call using them has returned.
//
//   kite --adapter=sim [--plugin=...] fuzz.js [--seed K] [--steps N] [--seconds S]
//
// Prints one summary line, "fuzz-script: {...}", and exits with status 0; a
// finding is printed with the seed, the step and the last steps taken, and
// the run ends with status 1.
kite.load("random.js");
kite.load("model.js");

const { CRandom } = FuzzRandom;
const { METHODS, METHOD_NAMES, PROPERTIES } = FuzzModel;

function option(name, fallback) {
  const i = kite.args.indexOf("--" + name);
  if (i < 0) return fallback;
  const value = Number(kite.args[i + 1]);
  if (!Number.isInteger(value) || value < 0) throw new RangeError("--" + name + " needs a whole number");
  return value;
}
const SEED = option("seed", 1);
const STEPS = option("steps", 2000);
const DEADLINE = option("seconds", 0) > 0 ? Date.now() + option("seconds", 0) * 1000 : Infinity;
const BATCH = 40;           // steps per main-loop turn; events are delivered between batches
const MAX_HELD = 10;        // live objects the fuzzer keeps
const MAX_CALLS = 120;      // adapter calls before an object is retired (keeps sim records short)
const MAX_DEPTH = 2;        // nesting of steps run from getters and traps

const r = new CRandom(SEED);
const stats = { seed: SEED, steps: 0, constructions: 0, calls: 0, nested: 0, thrown: 0, assignments: 0,
                destroys: 0, drops: 0, collections: 0, events: 0, deliveries: 0, findings: 0 };
const trail = [];           // the last steps, for a finding's report
let stepIndex = 0;

class CFinding extends Error {}

function finding(message) {
  stats.findings++;
  throw new CFinding(message);
}

function note(text) {
  trail.push(stepIndex + ": " + text);
  if (trail.length > 12) trail.shift();
}

function show(value) {
  try {
    const text = typeof value === "bigint" ? value + "n" : typeof value === "symbol" ? value.toString()
      : JSON.stringify(value);
    return text === undefined ? String(value) : text.length > 200 ? text.slice(0, 200) + "..." : text;
  } catch (e) {
    return "(" + typeof value + ")";
  }
}

// ---- the model of the objects ------------------------------------------------

let objects = [];           // the objects whose fate is still being followed
const recentlyDestroyed = [];  // receivers for calls that must be refused
const touched = new Set();  // objects called in the current step
let nextFunctionId = 1;
let nextObjectId = 0;

function held() {
  return objects.filter((o) => !o.dropped && !o.destroyed);
}

function someHeldPlayer() {
  const live = held();
  return live.length > 0 ? r.pick(live).player : {};
}

// Natives the fuzzer knows to be alive, and dropped ones it does not know
// about: sim.alive() must lie between the two.
function checkAliveCount(where) {
  let known = 0;
  let unknown = 0;
  for (const o of objects) {
    if (o.adapter < 0) continue;
    if (o.dropped) {
      if (!o.gone) unknown++;
    } else if (o.nativeAlive) {
      known++;
    }
  }
  const alive = sim.alive();
  if (alive < known || alive > known + unknown)
    finding(where + ": " + alive + " adapters alive, expected " + known + (unknown ? " to " + (known + unknown) : ""));
  if (alive === known) for (const o of objects) if (o.dropped) o.gone = true;
}

// The adapter calls made since the last check must be the predicted ones.
function checkCalls(o) {
  if (o.adapter < 0) return;
  const calls = sim.calls(o.adapter);
  const fresh = calls.slice(o.verified);
  const same = fresh.length === o.expected.length && fresh.every((call, i) => call === o.expected[i]);
  if (!same)
    finding("object " + o.id + ": adapter calls " + show(fresh) + ", expected " + show(o.expected));
  o.verified += fresh.length;
  o.expected = [];
}

// After a call or a destroy: a destroyed object's native goes once nothing
// uses it any more.
function settle(o) {
  if (o.destroyed && o.running === 0 && o.nativeAlive) o.nativeAlive = false;
}

// ---- steps ------------------------------------------------------------------

function construct() {
  const fail = r.chance(0.04);
  if (fail) sim.failNextAllocation();
  const before = sim.count();
  const args = [];
  for (let n = r.int(3); n > 0; n--) args.push(FuzzRandom.anyValue(r, someHeldPlayer));
  const player = new Tether(...args);
  const adapter = sim.count() > before ? before : -1;
  if ((adapter < 0) !== fail) finding("construction: adapter " + adapter + " after failNextAllocation " + fail);
  const o = {
    id: nextObjectId++, player, adapter, destroyed: false, nativeAlive: true, dropped: false, gone: false,
    state: 5, props: {}, answers: {}, report: { duration: 0, position: 0, state: 0 },
    verified: 0, expected: [], running: 0, adapterCalls: 0,
  };
  objects.push(o);
  stats.constructions++;
  if (adapter >= 0) {
    o.expected = ["SetKiteBridge(true)"];
    for (let code = 0; code < 9; code++) o.expected.push("RegisterKiteBridgeCallback(" + code + ")");
    checkCalls(o);
  }
  note("construct object " + o.id + (fail ? " without adapter" : ""));
  return o;
}

// A receiver the router must refuse, and the message it refuses it with.
function wrongReceiver() {
  const choices = [() => ({}), () => Tether.prototype, () => function () {}];
  const live = held();
  if (live.length > 0) choices.push(() => Object.create(r.pick(live).player));
  if (typeof Foreign === "function") choices.push(() => new Foreign());
  if (typeof Probe === "function") choices.push(() => new Probe());
  return r.pick(choices)();
}

// An argument: a value of any kind, or an object whose param_ properties are
// read through plans (a value, a getter, a throw, a nested step).
function makeArgument(name, index, owner, depth) {
  if (r.chance(0.2)) {
    if (r.chance(0.1)) {
      const { proxy, revoke } = Proxy.revocable({}, {});
      revoke();
      return { value: proxy, revoked: true };
    }
    return { value: FuzzRandom.anyValue(r, someHeldPlayer), plans: new Map() };
  }
  const plans = new Map();
  const keys = (METHODS[name].reads || []).filter(([i]) => i === index);
  for (const [, key, kind] of keys) {
    const plan = makePlan(kind, owner, depth);
    if (plan) plans.set(key, plan);
  }
  if (r.chance(0.3)) plans.set("param_" + FuzzRandom.string(r).slice(0, 8), { kind: "value", value: 1 });
  return { value: container(plans), plans };
}

function makePlan(kind, owner, depth) {
  const typed = () => (kind === "string" ? FuzzRandom.string(r) : kind === "number" ? FuzzRandom.number(r)
    : r.chance(0.5));
  const value = r.chance(0.8) ? typed() : FuzzRandom.anyValue(r, someHeldPlayer);
  const nested = depth < MAX_DEPTH ? 20 : 0;
  switch (r.weighted([[8, "absent"], [50, "value"], [15, "getter"], [8, "throw"], [nested, "nested"]])) {
    case "absent":
      return null;
    case "value":
      return { kind: "value", value };
    case "getter":
      return { kind: "getter", value };
    case "throw":
      return { kind: "throw", thrown: r.pick([() => new Error("fuzz"), () => Symbol("fuzz"), () => undefined,
                                              () => 0, () => ({ fuzz: true })])() };
    default:
      return { kind: "nested", value, owner, depth: depth + 1 };
  }
}

function runPlan(plan) {
  if (plan.kind === "throw") throw plan.thrown;
  if (plan.kind === "nested") nestedStep(plan.owner, plan.depth);
  return plan.value;
}

// The plans laid out in one of several kinds of object.
function container(plans) {
  const define = (target) => {
    for (const [key, plan] of plans) {
      if (plan.kind === "value") target[key] = plan.value;
      else Object.defineProperty(target, key, { get: () => runPlan(plan), enumerable: true, configurable: true });
    }
    return target;
  };
  switch (r.int(9)) {
    case 0: return define(Object.create(null));
    case 1: return Object.freeze(define({}));
    case 2: return Object.create(define({}));
    case 3: return define(function () {});
    case 4: return define([1, 2, 3]);
    case 5: return new Proxy(r.chance(0.5) ? {} : function () {}, {
      get(target, key) {
        const plan = plans.get(key);
        return plan === undefined ? undefined : plan.kind === "value" ? plan.value : runPlan(plan);
      },
    });
    case 6: return define(new Date(0));
    case 7: return Object.seal(define({}));
    default: return define({});
  }
}

// What the reads of a call met: the first throw, or the converted values.
function replayReads(name, args) {
  const values = [];
  for (const [index, key, kind] of FuzzModel.readsOf(name, args)) {
    const argument = args[index];
    const value = argument === undefined ? undefined : argument.value;
    const isObject = (typeof value === "object" && value !== null) || typeof value === "function";
    if (!isObject) {
      values.push(FuzzModel.READ[kind](undefined));
      continue;
    }
    if (argument.revoked) return { threw: true, revoked: true };
    const plan = argument.plans.get(key);
    if (plan && plan.kind === "throw") return { threw: true, thrown: plan.thrown };
    values.push(FuzzModel.READ[kind](plan ? plan.value : undefined));
  }
  return { values };
}

function sameResult(actual, expected) {
  if (typeof actual !== "object" || actual === null || Object.getPrototypeOf(actual) !== Object.prototype)
    return false;
  const keys = Object.keys(actual);
  const expectedKeys = Object.keys(expected);
  return keys.length === expectedKeys.length && keys.every((k, i) => k === expectedKeys[i] && Object.is(actual[k], expected[k]));
}

function callMethod(o, depth) {
  const name = r.pick(METHOD_NAMES);
  const receiverKind = r.weighted([[88, "own"], [6, "wrong"], [6, "destroyed"]]);
  const target = receiverKind === "destroyed" && recentlyDestroyed.length > 0 ? r.pick(recentlyDestroyed) : o;
  const receiver = receiverKind === "wrong" ? wrongReceiver() : target.player;
  touched.add(target);
  const count = r.weighted([[10, 0], [55, 1], [25, 2], [10, 3]]);
  const args = [];
  for (let i = 0; i < count; i++) args.push(makeArgument(name, i, target, depth));
  if (name === "player_register_sound_analysis_listener" && r.chance(0.5) && args.length > 0)
    args[0] = { value: FuzzRandom.callable(r), plans: new Map() };
  const values = args.map((a) => a.value);

  let expectedError = null;
  if (receiverKind === "wrong") expectedError = FuzzModel.NO_INSTANCE;
  else if (target.destroyed) expectedError = FuzzModel.DESTROYED;
  note((depth > 0 ? "nested " : "") + name + " on " + (receiverKind === "wrong" ? "a wrong receiver" : "object " + target.id) +
       " with " + count + " arguments");

  stats.calls++;
  if (expectedError === null) target.running++;
  let result;
  let thrown;
  let threw = false;
  try {
    result = Tether.prototype[name].apply(receiver, values);
  } catch (e) {
    threw = true;
    thrown = e;
  } finally {
    if (expectedError === null) {
      target.running--;
      settle(target);
    }
  }
  if (threw && thrown instanceof CFinding) throw thrown;

  if (expectedError !== null) {
    if (!threw || !(thrown instanceof Error) || thrown.message !== expectedError)
      finding(name + ": expected the error '" + expectedError + "', got " + (threw ? "the exception " + show(thrown && thrown.message) : "the result " + show(result)));
    return;
  }
  const reads = replayReads(name, args);
  if (reads.threw) {
    stats.thrown++;
    const ok = reads.revoked ? thrown instanceof TypeError : Object.is(thrown, reads.thrown);
    if (!threw || !ok)
      finding(name + ": expected the getter's own exception " + (reads.revoked ? "TypeError" : show(reads.thrown)) +
              ", got " + (threw ? show(thrown) : "the result " + show(result)));
    return;
  }
  if (threw) finding(name + ": threw " + (thrown instanceof Error ? thrown.stack : show(thrown)) + ", expected a result; reads " + show(reads.values));
  const expected = FuzzModel.expectedAnswer(name, values, reads.values, target);
  if (!sameResult(result, expected.result))
    finding(name + " on object " + target.id + ": answered " + show(result) + ", expected " + show(expected.result));
  if (expected.record !== null) {
    target.expected.push(expected.record);
    target.adapterCalls++;
  }
  if (name === "player_set_uri" && expected.result.return_ecode === 0) target.state = 6;
}

// A callback that records its deliveries; some also act on their own object
// when called.
function makeRecorder(o, property, id, effect) {
  return function recorder(...args) {
    try {
      delivered(o, property, id, args);
      if (effect && !o.destroyed && !o.dropped) {
        note("callback " + id + " of object " + o.id + " acts: " + effect);
        if (effect === "destroy") destroy(o);
        else if (effect === "call") callMethod(o, MAX_DEPTH);
        else if (effect === "assign") assign(o, 0);
        else if (effect === "collect") collect();
        checkAliveCount("after a callback");
      }
    } catch (e) {
      fail(e);
    }
  };
}

function assign(o, depth) {
  const property = r.pick(PROPERTIES);
  const receiverKind = r.weighted([[85, "own"], [6, "derived"], [4, "wrong Reflect"], [5, "destroyed"]]);
  const target = receiverKind === "destroyed" && recentlyDestroyed.length > 0 ? r.pick(recentlyDestroyed) : o;
  let holder;
  let value;
  if (r.chance(0.8)) {
    const id = nextFunctionId++;
    const effect = depth === 0 && r.chance(0.15) ? r.pick(["destroy", "call", "call", "assign", "collect"]) : null;
    holder = { recorder: id };
    value = makeRecorder(target, property, id, effect);
  } else {
    do value = FuzzRandom.anyValue(r, someHeldPlayer); while (typeof value === "function");
    holder = { value: true };
  }
  stats.assignments++;
  note("assign " + property + " of object " + target.id + " (" + receiverKind + ")");
  let expectedError = null;
  try {
    if (receiverKind === "derived") {
      expectedError = FuzzModel.NOT_NATIVE;
      Object.create(target.player)[property] = value;
    } else if (receiverKind === "wrong Reflect") {
      expectedError = FuzzModel.NOT_NATIVE;
      Reflect.set(target.player, property, value, {});
    } else {
      if (target.destroyed) expectedError = FuzzModel.DESTROYED;
      target.player[property] = value;
    }
  } catch (e) {
    if (e instanceof CFinding) throw e;
    if (expectedError === null || !(e instanceof Error) || e.message !== expectedError)
      finding("assigning " + property + ": threw " + show(e && e.message) + ", expected " + show(expectedError));
    return;
  }
  if (expectedError !== null) finding("assigning " + property + ": nothing thrown, expected " + expectedError);
  target.props[property] = holder;
  if (target.player[property] !== undefined) finding("reading " + property + " gave a value");
}

function destroy(o) {
  const answer = kite.destroy(o.player);
  stats.destroys++;
  note("destroy object " + o.id);
  if (answer !== !o.destroyed) finding("kite.destroy of object " + o.id + " answered " + answer);
  o.destroyed = true;
  settle(o);
}

function drop(o) {
  o.player = null;
  o.dropped = true;
  stats.drops++;
  note("drop object " + o.id);
}

function collect() {
  kite.gc();
  stats.collections++;
  note("kite.gc");
}

function eventData(code) {
  switch (code) {
    case 0:
      return FuzzRandom.int32(r);
    case 4:
      return r.chance(0.5) ? r.int(2 ** 31) * r.pick([1, 1000, 4294967296 / 2]) : r.pick([0n, 2n ** 32n + 5n, 2n ** 64n - 1n, 2n ** 31n]);
    case 5: case 6: case 7: {
      if (r.chance(0.04)) return null;
      const event = {};
      if (r.chance(0.9)) event.type = FuzzRandom.int32(r);
      if (r.chance(0.9)) event.param1 = FuzzRandom.string(r);
      if (r.chance(0.9)) event.param2 = FuzzRandom.string(r);
      return event;
    }
    case 8: {
      if (r.chance(0.04)) return null;
      const bands = [];
      for (let n = r.chance(0.01) ? 1000 : r.int(12); n > 0; n--) bands.push(FuzzRandom.int32(r));
      return bands;
    }
    default:
      return r.chance(0.5) ? null : undefined;
  }
}

// Emitted events in order, matched against deliveries as they come.
let pending = [];
let pendingHead = 0;

function emit(o) {
  if (o.adapter < 0) return;
  // Mostly events that someone listens to.
  const listened = [];
  for (let code = 0; code < 9; code++) {
    const holder = o.props[PROPERTIES[code]];
    if (holder && holder.recorder !== undefined) listened.push(code);
  }
  const code = listened.length > 0 && r.chance(0.7) ? r.pick(listened) : r.int(9);
  const data = eventData(code);
  const nullUserData = r.chance(0.03);
  const refused = nullUserData || (data === null && code >= 5);
  const answer = nullUserData ? sim.emit(o.adapter, code, data, { userData: null }) : sim.emit(o.adapter, code, data);
  stats.events++;
  note("emit " + code + " to object " + o.id);
  if (o.dropped && !o.gone) {
    if (!answer && !refused) o.gone = true;
  } else if (answer !== (o.nativeAlive && !o.gone && !refused)) {
    finding("sim.emit " + code + " to object " + o.id + " answered " + answer + " (native alive: " + o.nativeAlive + ")");
  }
  if (answer) pending.push({ o, code, args: FuzzModel.eventArguments(code, data) });
}

// Whether the event will reach a recorder when the main loop delivers it.
function deliverable(event) {
  const holder = event.o.props[PROPERTIES[event.code]];
  if (!holder || holder.recorder === undefined) return "no";
  if (event.o.dropped && !event.o.gone) return "maybe";
  return event.o.nativeAlive && !event.o.gone ? "yes" : "no";
}

function sameArguments(a, b) {
  return a.length === b.length && a.every((x, i) => x === b[i]);
}

function delivered(o, property, id, args) {
  stats.deliveries++;
  while (pendingHead < pending.length) {
    const event = pending[pendingHead++];
    const state = deliverable(event);
    if (state === "no") continue;
    const holder = event.o.props[PROPERTIES[event.code]];
    if (event.o === o && PROPERTIES[event.code] === property && holder.recorder === id && sameArguments(args, event.args))
      return;
    if (state === "maybe") continue;
    finding("delivery to object " + o.id + " " + property + " (function " + id + ") with " + show(args) +
            "; expected object " + event.o.id + " " + PROPERTIES[event.code] + " (function " + holder.recorder +
            ") with " + show(event.args));
  }
  finding("unexpected delivery to object " + o.id + " " + property + " with " + show(args));
}

// Called once the main loop has delivered everything queued so far.
function checkNothingUndelivered() {
  while (pendingHead < pending.length) {
    const event = pending[pendingHead++];
    if (deliverable(event) === "yes")
      finding("event " + event.code + " to object " + event.o.id + " with " + show(event.args) + " never arrived");
  }
  pending = [];
  pendingHead = 0;
}

// A step run from a getter or a proxy trap while a method of owner runs.
function nestedStep(owner, depth) {
  stats.nested++;
  const live = held();
  const other = live.length > 0 ? r.pick(live) : owner;
  switch (r.int(7)) {
    case 0: if (!owner.destroyed) destroy(owner); break;
    case 1: if (!owner.destroyed) callMethod(owner, depth); break;
    case 2: if (!other.destroyed) callMethod(other, depth); break;
    case 3: if (!owner.destroyed) assign(owner, depth); break;
    case 4: emit(r.chance(0.5) ? owner : other); break;
    case 5: collect(); break;
    default: if (owner.adapter >= 0) answer(owner); break;
  }
  checkAliveCount("inside a call");
}

function answer(o) {
  const operation = r.pick(Object.values(METHODS).map((m) => m.operation).filter(Boolean));
  const value = r.chance(0.7);
  sim.answer(o.adapter, operation, value);
  o.answers[operation] = value;
  note("answer " + operation + " " + value + " on object " + o.id);
}

function report(o) {
  const fields = {};
  // Up to 2^32 - 1: the player's duration is an unsigned long, 32 bits on the TV.
  if (r.chance(0.7)) fields.duration = r.chance(0.5) ? r.int(2 ** 31) * 2 : r.pick([2 ** 32 - 1, 2 ** 31, 0]);
  if (r.chance(0.7)) fields.position = r.chance(0.5) ? r.int(2 ** 31) : r.pick([2n ** 64n - 1n, 2n ** 32n + 100n, 0n]);
  if (r.chance(0.7)) fields.state = r.chance(0.7) ? r.int(5) : FuzzRandom.int32(r);
  sim.report(o.adapter, fields);
  Object.assign(o.report, fields);
  note("report " + show(fields) + " on object " + o.id);
}

function step() {
  const live = held();
  if (live.length === 0) {
    construct();
    return;
  }
  const o = r.pick(live);
  if (o.adapterCalls > MAX_CALLS) {
    destroy(o);
    return;
  }
  switch (r.weighted([[5, "construct"], [40, "call"], [18, "assign"], [22, "emit"], [4, "answer"], [3, "report"],
                      [3, "destroy"], [1, "drop"], [1, "collect"], [2, "emit elsewhere"]])) {
    case "construct":
      if (live.length < MAX_HELD) construct();
      else destroy(o);
      break;
    case "call":
      callMethod(o, 0);
      break;
    case "assign":
      assign(o, 0);
      break;
    case "emit":
      emit(o);
      break;
    case "emit elsewhere":
      emit(r.pick(objects));
      break;
    case "answer":
      if (o.adapter >= 0) answer(o);
      break;
    case "report":
      if (o.adapter >= 0) report(o);
      break;
    case "destroy":
      if (r.chance(0.9)) destroy(o);
      else destroyOther();
      break;
    case "drop":
      drop(o);
      break;
    default:
      collect();
      break;
  }
  for (const x of touched) checkCalls(x);
  touched.clear();
  checkAliveCount("after the step");
}

// kite.destroy of what is not a live object: a destroyed one, a plain
// object, a non-object.
function destroyOther() {
  if (recentlyDestroyed.length > 0 && r.chance(0.5)) {
    destroy(r.pick(recentlyDestroyed));
    return;
  }
  note("kite.destroy of something else");
  if (r.chance(0.5)) {
    if (kite.destroy(r.chance(0.5) ? {} : Tether.prototype) !== false) finding("kite.destroy of a plain object answered true");
    return;
  }
  try {
    kite.destroy(r.pick([1, "x", undefined, null, Symbol("s")]));
  } catch (e) {
    if (e instanceof TypeError && e.message === "kite.destroy: the argument must be an object") return;
    throw e;
  }
  finding("kite.destroy of a non-object threw nothing");
}

// Objects whose fate is settled leave the model; a few destroyed ones stay
// as receivers that must be refused.
function prune() {
  const kept = [];
  for (const o of objects) {
    if (o.dropped ? o.gone : o.destroyed && !o.nativeAlive) {
      if (!o.dropped) {
        checkCalls(o);
        recentlyDestroyed.push(o);
        if (recentlyDestroyed.length > 8) recentlyDestroyed.shift();
      }
    } else {
      kept.push(o);
    }
  }
  objects = kept;
}

// ---- the run ----------------------------------------------------------------

function summarise(status) {
  console.log("fuzz-script: " + JSON.stringify(stats));
  kite.quit(status);
}

function fail(e) {
  if (!(e instanceof CFinding)) stats.findings++;
  console.error("FINDING seed " + SEED + " step " + stepIndex + ": " + (e instanceof CFinding ? e.message : e && e.stack ? e.stack : String(e)));
  console.error("last steps:\n  " + trail.join("\n  "));
  summarise(1);
}

function finish() {
  try {
    checkNothingUndelivered();
    for (const o of objects) if (!o.dropped && !o.destroyed) destroy(o);
    collect();
    checkAliveCount("at the end");
    for (const o of objects) if (!o.dropped) checkCalls(o);
  } catch (e) {
    fail(e);
    return;
  }
  summarise(0);
}

function batch() {
  try {
    checkNothingUndelivered();
    for (let n = 0; n < BATCH && stepIndex < STEPS && Date.now() < DEADLINE; n++, stepIndex++) {
      step();
      stats.steps++;
    }
    prune();
  } catch (e) {
    fail(e);
    return;
  }
  kite.afterIdle(stepIndex < STEPS && Date.now() < DEADLINE ? batch : finish);
}

// Objects that keep no reference to kite's own wrappers can be collected
// only if nothing else holds them: the recorders and plans above refer to
// the model, never to a player.
batch();
