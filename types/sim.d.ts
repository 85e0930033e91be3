// The `sim` global that `kite --adapter=sim` gives scripts, for editors and
// for `tsc --checkJs` (scripts/check-types.sh). docs/script-api.md tells the
// whole story.

/** An integer, as a Number or a BigInt. */
type SimInteger = number | bigint;

/** The player operations whose answer `sim.answer` sets, as the simulated player records them. */
type SimOperation =
  | "create" | "setUri" | "close" | "prepare" | "registerPrepareListener"
  | "setStreamingProperty" | "Pause" | "play" | "Stop" | "seekTo" | "Skip" | "GetDuration"
  | "GetCurrentPosition" | "GetPlayerState" | "registerSoundAnalysisListener" | "suspend"
  | "restore" | "SetSoundAnalysis";

/** The event record of error and sound-server events. */
interface SimEvent {
  /** A 32-bit integer; the sound-server texts carry its low 8 bits as one character (U+FFFD from 128 up). */
  type?: SimInteger;
  /** The error message; the sound-server text's first field. */
  param1?: string;
  /** The sound-server text's second field. */
  param2?: string;
}

interface SimEmitOptions {
  /** null: the event comes without its object, so Tether refuses it. */
  userData?: null;
}

/** Media for the model player (`kite --adapter=model`); every field is optional. */
interface SimMedia {
  /** Where the media come from (default "file"); any other kind is network media, with buffering periods. */
  kind?: "file" | "http" | "hls" | "dash";
  /** The length in ms, an integer from 0 to 2147483647; left out, the media never end (a live stream). */
  duration?: SimInteger;
  /** false: seeks and skips answer -1 and playback goes on (default true). */
  seekable?: boolean;
  /** true: kind "http"; false: kind "file". */
  network?: boolean;
  /** Kind "http": false, a server without byte ranges: no seeking, opened again on stop and replay (default true). */
  ranges?: boolean;
  /** Kind "http": false, no Content-Length: the duration answers -1, the media still end at `duration`, which it needs (default true). */
  length?: boolean;
  /**
   * Kind "hls": a live playlist: no duration, no seeking, no end; `window` is the ms it holds, at most what the
   * buffer gets. `ends`: an event playlist, with a `duration`: no duration and no seeking until `ends` ms after
   * the player first read it, then on demand.
   */
  live?: boolean | { window: SimInteger } | { ends: SimInteger };
  /** Kinds "hls" and "dash": the length of a segment in ms (default 2000). */
  segment?: SimInteger;
  /** Network media: the ms before the first byte; every buffering period takes at least that long (default 0). */
  latency?: SimInteger;
  /** Network media: the share of the media's bit rate the network delivers, above 0 (default unlimited); below 1 playback stalls. */
  bandwidth?: number;
  /** Network media: the error that the player's reading ahead meets at a media time, or at the start of a segment (from 0; "hls" and "dash"). */
  fail?: { at: SimInteger; error: "dropped" | "http-404" } | { segment: SimInteger; error: "dropped" | "http-404" };
  /** true: `player_prepare_async` completes only after `sim.release(url)`; `player_prepare` answers -1. */
  hold?: boolean;
  /** How the media fail, with the GStreamer player's error text. */
  error?: "missing" | "not-media" | "unsupported" | "http-404" | "refused";
  /** The reason phrase of a 404 (`error: "http-404"` or a `fail` with it), its error's text (default "Not Found"). */
  reason?: string;
  /** What each `onsound_analysis` carries in party mode, each from 0 to 100 (default 16 bands of 0). */
  bands?: SimInteger[];
}

/** One call that `sim.pending` lists. */
interface SimPending {
  /** When it falls due, on the run's clock (`sim.now()`); an afterIdle call: now. */
  at: number;
  /** A timer, an interval, the model player's own timed work, or a `kite.afterIdle` call. */
  kind: "timeout" | "interval" | "player" | "afterIdle";
  /** Timers and intervals: the id that `setTimeout` or `setInterval` answered. */
  id?: number;
  /** Intervals: their period in ms. */
  every?: number;
}

/**
 * The players behind `Tether` objects, in runs with `--adapter=sim` (the
 * simulated player: it records calls, answers as told and fires events on
 * its own thread when asked) or `--adapter=model` (the model of the
 * GStreamer player: media, release, advance, now, runAll, runUntil and
 * pending, and no answer, report, burst or
 * drain; `kite test`'s default, with virtual time). Players are numbered
 * from 0 in construction order;
 * `sim.count() - 1` is the newest. A player's record stays after its object
 * is destroyed.
 */
declare namespace sim {
  /** Event code 0: `onbuffering`; data: the percent. */
  const BUFFERING: 0;
  /** Event code 1: `onprepare_complete`; no data. */
  const PREPARE_COMPLETE: 1;
  /** Event code 2: `onplay_complete`; no data. */
  const PLAY_COMPLETE: 2;
  /** Event code 3: `onseek_complete`; no data. */
  const SEEK_COMPLETE: 3;
  /** Event code 4: `oncurrent_time`; data: the time. */
  const CURRENT_TIME: 4;
  /** Event code 5: `onerror_event`; data: an event (its param1 is the message) or null. */
  const ERROR_EVENT: 5;
  /** Event code 6: `onasm_pause`; data: an event or null. */
  const ASM_PAUSE: 6;
  /** Event code 7: `onasm_resume`; data: an event or null. */
  const ASM_RESUME: 7;
  /** Event code 8: `onsound_analysis`; data: an array of bands or null. */
  const SOUND_ANALYSIS: 8;

  /** Players made so far. */
  function count(): number;
  /** Players not yet destroyed. */
  function alive(): number;
  /** Every operation called on player i, in order, as "name(arg,...)", such as 'setUri("a.mp4")'. */
  function calls(i: number): string[];
  /** From now on operation `operation` of player i answers `answer` (all start true). */
  function answer(i: number, operation: SimOperation, answer: boolean): void;
  /**
   * What the queries of player i answer from now on; fields left out keep
   * their value (all start at 0). The state may be any 32-bit integer.
   */
  function report(i: number, report: { duration?: SimInteger; position?: SimInteger; state?: SimInteger }): void;

  /**
   * Player i fires the event on its own thread; answers once Tether has taken
   * it: true when queued for the callback (which runs later, on the main
   * loop), false when Tether refused it or the player is gone.
   */
  function emit(i: number, code: 0, percent: SimInteger, options?: SimEmitOptions): boolean;
  function emit(i: number, code: 1 | 2 | 3, data?: null, options?: SimEmitOptions): boolean;
  function emit(i: number, code: 4, time: SimInteger, options?: SimEmitOptions): boolean;
  function emit(i: number, code: 5 | 6 | 7, event: SimEvent | null, options?: SimEmitOptions): boolean;
  function emit(i: number, code: 8, bands: SimInteger[] | null, options?: SimEmitOptions): boolean;

  /**
   * Queues `count` such events on player i's thread and returns at once:
   * true, or false when the player is gone.
   */
  function burst(i: number, code: 0 | 4, count: SimInteger, data: SimInteger, options?: SimEmitOptions): boolean;
  function burst(i: number, code: 1 | 2 | 3, count: SimInteger, data?: null, options?: SimEmitOptions): boolean;
  function burst(i: number, code: 5 | 6 | 7, count: SimInteger, event: SimEvent | null, options?: SimEmitOptions): boolean;
  function burst(i: number, code: 8, count: SimInteger, bands: SimInteger[] | null, options?: SimEmitOptions): boolean;
  /** Waits until player i's thread has handled every event queued on it. */
  function drain(i: number): void;
  /** The next `new Tether()` gets no player: its methods answer -1 without asking one. */
  function failNextAllocation(): void;

  /**
   * The model player only: describes the media at `url` (the string given
   * to `player_set_uri`) for every prepare from now on. A URL never
   * described is a missing file.
   */
  function media(url: string, media: SimMedia): void;
  /**
   * The model player only: lets the prepares that wait for the held media
   * at `url` go on, and answers how many there were.
   */
  function release(url: string): number;
  /**
   * The model player with `kite --clock=virtual` only: moves the clock `ms`
   * milliseconds on, running in time order every timer, interval, afterIdle
   * call and player event that falls due, and delivers the events before it
   * returns. A TypeError for a negative, infinite or non-number `ms`.
   */
  function advance(ms: number): void;
  /** The model player only: the run's clock, milliseconds since the run started. */
  function now(): number;
  /**
   * The model player with virtual time only: runs everything scheduled, in
   * time order, until nothing is, and answers how many timers, interval
   * runs and player steps ran; the clock stays at the last one. An Error,
   * the clock where it got to, once `limit` (default 100000) have run and
   * more are scheduled, as an interval that is never cleared keeps it.
   */
  function runAll(limit?: number): number;
  /**
   * The model player with virtual time only: moves the clock as
   * `sim.advance` does until `condition` answers true (checked first, then
   * after each timer, interval run or player step with the events it
   * brought), or until `{ player, state }`'s player answers that state, and
   * answers the clock there. An Error when it has not within `limit` ms of
   * virtual time (default 60000); an error of the condition comes out, the
   * clock where it got to.
   */
  function runUntil(condition: (() => boolean) | { player: Tether; state: number }, limit?: number): number;
  /** The model player with virtual time: what is scheduled, in the order it would run. */
  function pending(): SimPending[];
}
