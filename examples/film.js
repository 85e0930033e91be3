// @ts-check
// A film player for the remote control: OK pauses and plays on, right and
// left skip ten seconds, back stops; one line of the screen says what
// happens. examples/film.test.js tests it with `kite test`.
//
// The scripts of a page share one global scope, and kite.load runs this file
// as one more of them: so the app declares one global name, createFilm, and
// ends with it as its last expression, the value kite.load answers.

/** What the screen shows: one line at a time. @typedef {(line: string) => void} Screen */
/** A key of the remote. @typedef {"ok" | "right" | "left" | "back"} Key */
/**
 * @typedef {object} Film
 * @property {(key: Key) => void} press
 * @property {() => void} close  lets the player go
 */
/** @typedef {(url: string, screen: Screen) => Film} CreateFilm */

/** @type {CreateFilm} */
function createFilm(url, screen) {
  const SKIP_MS = 10000;
  const player = new Tether();
  let duration = "live";
  let playing = false;

  /** @param {number} ms */
  const clock = (ms) => {
    const s = Math.floor(ms / 1000);
    const hms = [Math.floor(s / 3600), Math.floor(s / 60) % 60, s % 60];
    return (hms[0] > 0 ? hms[0] + ":" + String(hms[1]).padStart(2, "0") : String(hms[1])) + ":" +
           String(hms[2]).padStart(2, "0");
  };
  const position = () => {
    const answer = player.player_get_current_position();
    return answer.return_ecode === 0 ? clock(answer.return_data) : "?";
  };

  player.onprepare_complete = () => {
    const answer = player.player_get_duration();
    if (answer.return_ecode === 0 && answer.return_data >= 0) duration = clock(answer.return_data);
    player.player_play();
    playing = true;
    screen("playing 0:00 / " + duration);
  };
  // Skips pressed in a row land together, with one onseek_complete: the app
  // waits for the next one, not for one per key.
  player.onseek_complete = () => screen("at " + position());
  player.onplay_complete = () => {
    playing = false;
    screen("the end");
  };
  player.onerror_event = (message) => screen("cannot play: " + message);

  player.player_create();
  player.player_set_uri({ param_url: url });
  if (player.player_prepare_async().return_ecode !== 0) screen("cannot play " + url);

  return {
    press(key) {
      if (key === "ok" && playing) {
        player.player_pause();
        playing = false;
        screen("paused at " + position());
      } else if (key === "ok") {
        player.player_resume();
        playing = true;
        screen("playing " + position() + " / " + duration);
      } else if (key === "right" || key === "left") {
        const answer = player.player_skip({ param_skip: key === "right" ? SKIP_MS : -SKIP_MS });
        screen(answer.return_ecode === 0 ? "skipping" : "this stream cannot skip");
      } else {
        player.player_stop();
        playing = false;
        screen("stopped");
      }
    },
    close() {
      player.player_close();
      kite.destroy(player);
    },
  };
}

createFilm;
