// Soak: Tether objects created, used and destroyed (or left to the
// collector) one after another while the soak player fires events at the
// live ones; the resident size is read every EVERY objects, after a
// collection, and must stay within LIMIT_KIB of the reading at WARMUP.
//   kite --plugin=libTether.so --plugin=libSoakPlugin.so soak.js [OBJECTS [WARMUP [EVERY]]]
// Exit status 0 when the resident size stayed flat, 1 when it did not.
const OBJECTS = Number(kite.args[0] || 100000);
const WARMUP = Number(kite.args[1] || 10000);
const EVERY = Number(kite.args[2] || 10000);
const EVENTS_PER_SECOND = 20000;
const HELD = 32;             // objects alive at a time
const CHUNK = 10;            // objects per turn; a turn starts every millisecond or so
const LIMIT_KIB = 1024;
const PROPERTIES = ["onbuffering", "onprepare_complete", "onplay_complete", "onseek_complete", "oncurrent_time",
                    "onerror_event", "onasm_pause", "onasm_resume", "onsound_analysis"];

const meter = new SoakMeter();
const live = [];
const readings = [];
let made = 0;
let delivered = 0;
let lastText = "";
const count = () => { delivered++; };

function one(i) {
  const player = new Tether();
  for (const property of PROPERTIES) player[property] = count;
  // One function of its own per object, too.
  player.oncurrent_time = (text) => { delivered++; lastText = text; };
  player.player_create();
  player.player_set_uri({ param_url: "http://soak.example/media/" + i });
  player.player_prepare_async();
  player.player_play();
  player.player_seek_to({ param_seek_to: i });
  player.player_get_current_position();
  player.player_set_party_tv_mode({ param_party_mode: i % 2 === 0 });
  live.push(player);
  if (live.length > HELD) {
    const old = live.shift();
    // Every fourth object is left to the collector instead.
    if (i % 4 !== 0) kite.destroy(old);
  }
}

function chunk() {
  const end = Math.min(made + CHUNK, OBJECTS);
  while (made < end) one(made++);
  if (made % EVERY === 0 || made === OBJECTS) read();
  // The loop delivers events, and destroys what the collector released,
  // while the timer waits.
  else setTimeout(chunk, 1);
}

// A reading is taken with the events paused: once the records queued so far
// are delivered, after full collections, when what the engine does in the
// background after them (sweeping, returning pages) has had time to settle,
// and after the allocator has handed its free memory back, so that it shows
// what is kept rather than the peak of the event queue. V8 may still hold a
// few pages of 256 KiB for a while; the reading is the least of five
// samples taken 200 ms apart. Then the events resume.
const SAMPLES = 5;

function read() {
  meter.stopEvents();
  kite.afterIdle(() => sample([]));
}

function sample(taken) {
  kite.gc();
  kite.gc();
  setTimeout(() => {
    meter.trim();
    taken.push([meter.residentKiB(), meter.memory()]);
    if (taken.length < SAMPLES) {
      sample(taken);
      return;
    }
    const [kib, memory] = taken.reduce((least, next) => (next[0] < least[0] ? next : least));
    readings.push([made, kib]);
    console.log("objects " + made + ": resident " + kib + " KiB (not file-backed " + memory.residentAnon +
                "; V8 heap " + Math.round(memory.v8Heap) + ", malloc in use " + Math.round(memory.mallocInUse) +
                " of " + Math.round(memory.mallocHeld) + "); events fired " + meter.fired() + ", delivered " +
                delivered + "; players alive " + meter.players());
    if (made < OBJECTS) {
      meter.startEvents(EVENTS_PER_SECOND);
      kite.afterIdle(chunk);
    } else {
      finish();
    }
  }, 200);
}

function finish() {
  meter.stopEvents();
  const after = readings.filter(([n]) => n >= WARMUP).map(([, kib]) => kib);
  const low = Math.min(...after);
  const high = Math.max(...after);
  const flat = high - low <= LIMIT_KIB;
  console.log("soak: " + OBJECTS + " objects, " + meter.fired() + " events fired, " + delivered + " delivered; " +
              "resident after warm-up " + after[0] + " KiB, at the end " + after[after.length - 1] + " KiB, range " +
              (high - low) + " KiB (limit " + LIMIT_KIB + "): " + (flat ? "flat" : "NOT FLAT"));
  for (const player of live) kite.destroy(player);
  kite.quit(flat ? 0 : 1);
}

meter.startEvents(EVENTS_PER_SECOND);
kite.afterIdle(chunk);
