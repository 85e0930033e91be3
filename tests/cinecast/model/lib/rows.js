// What the model's tables share: a player whose events go to a log, the
// answers of a command, the loop that runs rows of
// [name, media, body, expected], and sim.media's refusals (loaded after
// ../../support/lib/assert.js).

const MODEL_EVENTS = ["buffering", "prepare_complete", "play_complete", "seek_complete", "current_time",
                      "error_event", "asm_pause", "asm_resume", "sound_analysis"];

// A player on url whose events, of those named, go to log as "kind" or
// "kind:text", each through stamp.
function loggedPlayer(url, log, events, stamp) {
  const p = new Tether();
  for (const name of events) {
    p["on" + name] = (text) => log(stamp(text === undefined ? name : name + ":" + text));
  }
  p.player_create();
  p.player_set_uri({ param_url: url });
  return p;
}

// The same, prepared and playing; its entries go to log as they are.
function playing(url, log, events) {
  const p = loggedPlayer(url, log, events, (entry) => entry);
  p.player_prepare();
  p.player_play();
  return p;
}

function code(result) {
  return result.return_ecode;
}

function data(result) {
  return result.return_ecode === 0 ? result.return_data : "refused";
}

// Each row: open(media, log) describes the media and gives the row's
// player; the body runs with it and what it logs itself; after the events
// due now, the log must be the expected one.
function runRows(rows, open) {
  for (const [name, media, body, expected] of rows) {
    check(name, () => {
      const log = [];
      const p = open(media, (entry) => log.push(entry));
      try {
        body(p, (entry) => log.push(entry));
        sim.advance(0);
        assertEqual(log, expected, name);
      } finally {
        kite.destroy(p);
      }
    });
  }
}

// Rows of [what, description, the error's type, its message after "sim.media: "].
function checkMediaRefusals(rows) {
  checkRefusals(rows.map(([what, description, type, message]) =>
    [what, () => sim.media("bad.media", description), type, "sim.media: " + message]));
}
