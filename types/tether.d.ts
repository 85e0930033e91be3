// The Tether script class, for editors and for `tsc --checkJs`
// (scripts/check-types.sh). docs/script-api.md tells the whole story.

/** The answer of every method except the three queries: a new plain object. */
interface TetherResult {
  /**
   * 0: done, or accepted by the player (what the player does later comes as
   * an event); -1: the player refused; -2: unusable arguments, the player was
   * not asked.
   */
  return_ecode: 0 | -1 | -2;
}

/**
 * The answer of `player_get_duration`, `player_get_current_position` and
 * `player_get_player_state`: the value on success, `return_ecode` -1 alone
 * when the player refused. Test `return_ecode` before using `return_data`.
 */
type TetherQueryResult =
  | {
      /** The player answered. */
      return_ecode: 0;
      /** 1: `return_data` is an integer (the only kind). */
      return_type: 1;
      /** The value, a signed 32-bit integer. */
      return_data: number;
    }
  | {
      /** The player refused; there is no value. */
      return_ecode: -1;
    };

/**
 * A media player for one script object. Every value a method passes to the
 * player is a `param_` property of an object argument: a missing or wrongly
 * typed property, or an argument that is no object, gives the default (empty
 * string, 0, false), with which the player is still called. Callback
 * properties are write-only: assign a function to receive an event, anything
 * else to silence it; reading one gives `undefined`.
 */
declare class Tether {
  /**
   * Makes the object and its own player. Arguments are ignored. Keep a
   * reference while it plays: garbage collection destroys an object the
   * script cannot reach, and its player with it (kite then says so on
   * stderr, naming where the object was made).
   */
  constructor(...ignored: unknown[]);

  /** Asks the player to create itself; each call asks again. The GStreamer player refuses media until then. */
  player_create(): TetherResult;
  /**
   * Gives the player its media. -2 without an argument. Once a URL is
   * accepted, `player_get_player_state` asks the player instead of answering 5.
   */
  player_set_uri(args: {
    /** A path or URI. Missing: the empty string. */
    param_url: string;
  }): TetherResult;
  /** Prepares the media and answers when it is done (no event on success). */
  player_prepare(): TetherResult;
  /** Starts preparing and answers at once; `onprepare_complete` follows. */
  player_prepare_async(): TetherResult;
  /** @deprecated Does nothing and answers 0. */
  player_set_output_area(): TetherResult;
  /**
   * Sets a streaming property of the player (the GStreamer player takes
   * "USER_AGENT"). -2 without an argument.
   */
  player_set_streaming_property(
    type: {
      /** The property's name. */
      param_property_type: string;
    },
    param?: {
      /** Its value; the empty string when the second argument is left out. */
      param_property_param: string;
    },
  ): TetherResult;
  /** Pauses playback. */
  player_pause(): TetherResult;
  /** Plays on: the same request as `player_play`. */
  player_resume(): TetherResult;
  /** Stops playback. */
  player_stop(): TetherResult;
  /** Starts or continues playback. */
  player_play(): TetherResult;
  /** Seeks; `onseek_complete` follows when it lands. -2 without an argument. */
  player_seek_to(args: {
    /** The position in milliseconds from the start; truncated to a 32-bit integer. */
    param_seek_to: number;
  }): TetherResult;
  /** Skips forward or back; `onseek_complete` follows. -2 without an argument. */
  player_skip(args: {
    /** Milliseconds relative to the position, negative to go back; truncated to a 32-bit integer. */
    param_skip: number;
  }): TetherResult;
  /** The media's duration in milliseconds. */
  player_get_duration(): TetherQueryResult;
  /** The playback position in milliseconds. */
  player_get_current_position(): TetherQueryResult;
  /**
   * The player's state: 0 no media, 1 media set, 2 prepared, 3 playing,
   * 4 paused; 5 (from Tether, without asking the player) until a
   * `player_set_uri` has been accepted.
   */
  player_get_player_state(): TetherQueryResult;
  /**
   * Registers for sound analysis. -2 unless the first argument is a function
   * and a second argument follows. The function is never called: bands
   * arrive through `onsound_analysis`.
   */
  player_register_sound_analysis_listener(listener: Function, options: unknown): TetherResult;
  /** Suspends the player. Needs an argument, which is not read (pass `{}`); -2 without one. */
  player_suspend(args: object): TetherResult;
  /** Restores a suspended player. -2 without an argument; `{}` restores with the defaults. */
  player_restore(args: {
    /** The media; the empty string (the default) for the one remembered. */
    param_restore_url?: string;
    /** Where to resume, in milliseconds (default 0); truncated to a 32-bit integer. */
    param_restore_resume_time?: number;
    /** Whether to prepare it again (default false). */
    param_restore_prepare?: boolean;
  }): TetherResult;
  /** Closes the media. The object stays usable and the run goes on. */
  player_close(): TetherResult;
  /** Turns party mode (sound analysis) on or off; without an argument, off. */
  player_set_party_tv_mode(args: {
    /** true: on; anything else: off. */
    param_party_mode: boolean;
  }): TetherResult;

  /** Buffering progress: the percentage as a string, such as "40". */
  set onbuffering(callback: ((percent: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onbuffering(): undefined;
  /** `player_prepare_async` is done. No argument. */
  set onprepare_complete(callback: (() => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onprepare_complete(): undefined;
  /** The end of the stream. No argument. */
  set onplay_complete(callback: (() => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onplay_complete(): undefined;
  /** A seek or skip has landed. No argument. */
  set onseek_complete(callback: (() => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onseek_complete(): undefined;
  /** The playback position while playing, milliseconds as a string, such as "4200". */
  set oncurrent_time(callback: ((time: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get oncurrent_time(): undefined;
  /** The player failed: its message, or no argument when the message is empty. */
  set onerror_event(callback: ((message?: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onerror_event(): undefined;
  /** The sound server paused the player: "EventType:" + one character + "," + param1 + "," + param2 + ";". */
  set onasm_pause(callback: ((text: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onasm_pause(): undefined;
  /** The sound server resumed the player; the text has the form of `onasm_pause`'s. */
  set onasm_resume(callback: ((text: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onasm_resume(): undefined;
  /** Sound-analysis bands joined by "|", such as "3|-1|12", or no argument when there are none. */
  set onsound_analysis(callback: ((bands?: string) => void) | null | undefined);
  /** Write-only: reading gives undefined. */
  get onsound_analysis(): undefined;
}
