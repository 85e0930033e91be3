// Helpers of the GStreamer script tests: players that record their events,
// waits for those events, and tests that run one after another, each
// awaiting what it started. The media come as kite.args: a 3 s tone and a
// file that is no media.
(function (global) {
  const EVENTS = ["buffering", "prepare_complete", "play_complete", "seek_complete", "current_time",
                  "error_event", "asm_pause", "asm_resume", "sound_analysis"];
  const TONE = kite.args[0];
  const NOT_MEDIA = kite.args[1];
  const TONE_MS = 3000;
  const STATE = { NONE: 0, IDLE: 1, READY: 2, PLAYING: 3, PAUSED: 4 };

  function sleep(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
  }

  // A Tether object whose events are kept in order as { name, arg, at }.
  class RecordingPlayer {
    constructor() {
      this.tether = new Tether();
      this.events = [];
      this.waiters = [];
      for (const name of EVENTS) {
        this.tether["on" + name] = (arg) => {
          const event = { name, arg, at: Date.now() };
          this.events.push(event);
          for (const waiter of this.waiters.slice()) waiter(event);
        };
      }
    }

    // The return_ecode of a method call.
    call(method, ...args) {
      return this.tether[method](...args).return_ecode;
    }

    // The return_data of a query, or undefined when the player refused it.
    query(method) {
      const result = this.tether[method]();
      return result.return_ecode === 0 ? result.return_data : undefined;
    }

    state() { return this.query("player_get_player_state"); }
    position() { return this.query("player_get_current_position"); }
    duration() { return this.query("player_get_duration"); }

    // Created with the media set; prepared synchronously when asked.
    open(media, prepare) {
      assertEqual(this.call("player_create"), 0, "create");
      assertEqual(this.call("player_set_uri", { param_url: media }), 0, "set_uri " + media);
      if (prepare) assertEqual(this.call("player_prepare"), 0, "prepare " + media);
      return this;
    }

    // Marks the present: since() and waitFor() look only at later events.
    mark() { return this.events.length; }
    since(mark, name) { return this.events.slice(mark).filter((e) => name === undefined || e.name === name); }
    args(mark, name) { return this.since(mark, name).map((e) => e.arg); }

    // The first event called name after mark that passes test; rejects after
    // timeoutMs.
    waitFor(name, mark, timeoutMs = 3000, test = () => true) {
      const found = this.since(mark, name).find(test);
      if (found) return Promise.resolve(found);
      return new Promise((resolve, reject) => {
        const waiter = (event) => {
          if (event.name !== name || !test(event)) return;
          clearTimeout(timer);
          this.waiters.splice(this.waiters.indexOf(waiter), 1);
          resolve(event);
        };
        const timer = setTimeout(() => {
          this.waiters.splice(this.waiters.indexOf(waiter), 1);
          reject(new Error("no " + name + " event within " + timeoutMs + " ms"));
        }, timeoutMs);
        this.waiters.push(waiter);
      });
    }

    // The current-time events after mark, as numbers.
    times(mark) { return this.args(mark, "current_time").map(Number); }
  }

  const tests = [];
  function test(name, fn) {
    tests.push({ name, fn });
  }

  // Runs every test in order, each to its end, then prints the tally.
  async function runTests() {
    for (const { name, fn } of tests) {
      const started = Date.now();
      try {
        await fn();
        console.log("ok " + name + " (" + (Date.now() - started) + " ms)");
      } catch (e) {
        check(name, () => { throw e; });
      }
    }
    done();
  }

  function isRising(values) {
    return values.every((v, i) => i === 0 || v > values[i - 1]);
  }

  Object.assign(global, { RecordingPlayer, STATE, TONE, NOT_MEDIA, TONE_MS, sleep, test, runTests, isRising });
})(globalThis);
