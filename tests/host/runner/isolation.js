// What a test leaves behind is gone before the next one starts
// (isolation.out, on the model player and virtual time): players left alive
// fail their test, timers left pending are cancelled and told of, media the
// test described are forgotten and told of. { leaks: true } keeps them for the file.
/** @type {Tether[]} */
const kept = [];
sim.media("film.mp4", { duration: 60000 });

// What a prepare of the URL answers, and the duration the player then tells.
function probe(url) {
  const player = new Tether();
  player.player_create();
  player.player_set_uri({ param_url: url });
  const prepared = player.player_prepare();
  const duration = player.player_get_duration();
  const answers = [prepared.return_ecode, "return_data" in duration ? duration.return_data : undefined];
  kite.destroy(player);
  return answers;
}

describe("players left alive", () => {
  test("fail the test, named where they were made", () => {
    kept.push(new Tether());
  });
  test("are gone in the next test, which still counts them", () => {
    assert.deepEqual([sim.alive(), sim.count()], [0, 1]);
  });
  describe("made by a beforeEach hook", () => {
    beforeEach(() => {
      kept.push(new Tether());
    });
    test("are the test's own, listed with its", () => {
      kept.push(new Tether());
    });
  });
  test("stay when the test says { leaks: true }", { leaks: true }, () => {
    kept.push(new Tether());
  });
  test("and the next test finds them", () => {
    assert.equal(sim.alive(), 1);
    assert.equal(kite.destroy(kept[kept.length - 1]), true);
  });
});

describe("a playing player left alive", () => {
  /** @type {string[]} */
  const heard = [];
  test("fails its test", () => {
    const player = new Tether();
    player.oncurrent_time = (time) => {
      heard.push(time);
    };
    player.player_create();
    player.player_set_uri({ param_url: "film.mp4" });
    player.player_prepare();
    player.player_play();
    sim.advance(250);
    kept.push(player);
  });
  test("and its events do not reach the next", () => {
    sim.advance(1000);
    assert.deepEqual([sim.alive(), heard], [0, ["100", "200"]]);
  });
});

describe("timers left pending", () => {
  test("are cancelled and told of, not failed", () => {
    setTimeout(() => {
      throw new Error("a timer left pending ran");
    }, 100);
    setInterval(() => {
      throw new Error("an interval left pending ran");
    }, 50);
  });
  test("never run in the next test", () => {
    sim.advance(1000);
  });
  test("that ran or were cleared are not told of", () => {
    let ran = 0;
    setTimeout(() => ran++, 10);
    clearTimeout(setTimeout(() => ran++, 20));
    const interval = setInterval(() => {
      ran++;
      clearInterval(interval);
    }, 5);
    sim.advance(100);
    assert.equal(ran, 2);
  });
});

describe("media a test describes", () => {
  beforeEach(() => {
    sim.media("trailer.mp4", { duration: 3000 });
  });
  test("are there while it runs", () => {
    sim.media("clip.mp4", { duration: 1000 });
    sim.media("film.mp4", { error: "not-media" });
    assert.deepEqual([probe("trailer.mp4"), probe("clip.mp4"), probe("film.mp4")], [[0, 3000], [0, 1000], [-1, undefined]]);
  });
});

describe("media after the test that described them", () => {
  test("are gone, and the file's are as they were", () => {
    assert.deepEqual([probe("trailer.mp4"), probe("clip.mp4"), probe("film.mp4")], [[-1, undefined], [-1, undefined], [0, 60000]]);
  });
});
