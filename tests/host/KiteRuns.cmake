# kite runs whose exit status is the point: start-up errors (status 2),
# uncaught exceptions (status 1), kite.quit, signals, --log, the console,
# --help and the tour example.

add_kite_run_test(bad_option 2 "^kite: unknown option '--bogus' [(]usage: kite [^\n]*SCRIPT[.]js [^\n]*; kite --help says more[)]\n$"
  ARGS --bogus ${RUNS}/args.js)
add_kite_run_test(empty_plugin_option 2 "^kite: --plugin needs a path[^\n]*\n$"
  ARGS --plugin= ${RUNS}/args.js)
add_kite_run_test(no_script 2 "^kite: no script given[^\n]*\n$"
  ARGS ${PROBE})
add_kite_run_test(unknown_adapter 2 "^kite: unknown adapter 'nope'\n$"
  ARGS --adapter=nope ${PROBE} ${RUNS}/args.js)
add_kite_run_test(missing_script 2 "^kite: cannot read [^\n]*/missing.js: No such file or directory\n$"
  ARGS ${PROBE} ${RUNS}/missing.js)
add_kite_run_test(directory_as_script 2 "^kite: cannot read [^\n]*: not a regular file\n$"
  ARGS ${PROBE} ${RUNS})
add_kite_run_test(syntax_error 2 "^[^\n]*/syntax_error[.]js:3\nlet broken = ;\n             \\^\n\nSyntaxError: Unexpected token ';'\n$"
  ARGS ${PROBE} ${RUNS}/syntax_error.js)
add_kite_run_test(missing_plugin 2 "^kite: cannot load plug-in [^\n]*/no-such-plugin.so: [^\n]*\n$"
  ARGS --plugin=${RUNS}/no-such-plugin.so ${RUNS}/args.js)
# A plug-in is checked in this order: the SDK ABI its file records, read
# before anything of it runs (a refused one would print "refused plug-in:"
# when loaded), its load, with a missing symbol demangled, and its entry.
get_target_property(KITE_SDK_ABI kiteEngine SOVERSION)
set(REBUILD "this kite has ABI ${KITE_SDK_ABI}; rebuild it against this SDK")
add_kite_run_test(plugin_other_abi 2
  "^kite: plug-in [^\n]*/libKiteTestPluginOtherAbi[.]so was built for kite SDK ABI 99, ${REBUILD}\n$"
  ARGS ${PROBE} --plugin=$<TARGET_FILE:KiteTestPluginOtherAbi> ${RUNS}/args.js)
add_kite_run_test(plugin_without_abi 2 "^kite: plug-in [^\n]*/libdlog[.]so records no kite SDK ABI, ${REBUILD}\n$"
  ARGS --plugin=$<TARGET_FILE:dlog> ${RUNS}/args.js)
add_kite_run_test(plugin_missing_symbol 2
  "^kite: cannot load plug-in [^\n]*/libKiteTestPluginMissingSymbol[.]so: [^\n]*: undefined symbol: Bridge::NotInThisEngine[(]Bridge::ScriptArray const&[)]\n$"
  ARGS --plugin=$<TARGET_FILE:KiteTestPluginMissingSymbol> ${RUNS}/args.js)
add_kite_run_test(plugin_without_entry 2 "^kite: plug-in [^\n]*/libkiteEngine[.]so[.0-9]* has no loadBridges\n$"
  ARGS --plugin=$<TARGET_FILE:kiteEngine> ${RUNS}/args.js)
add_kite_run_test(bad_log_file 2 "^kite: cannot open log [^\n]*/no-such-dir/k.log: No such file or directory\n$"
  ARGS --log=${CMAKE_CURRENT_BINARY_DIR}/no-such-dir/k.log ${PROBE} ${RUNS}/args.js)
# What a user relies on in the help (HelpListed.cmake), not its wording; -h
# is the same.
string(REPLACE ";" "|" emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
foreach(help_arg --help -h)
  string(REGEX REPLACE "^-+" "" name ${help_arg})
  add_test(NAME kite.run.help_${name}
    COMMAND ${CMAKE_COMMAND} -DKITE=$<TARGET_FILE:kite> "-DKITE_EMULATOR=${emulator}" -DHELP_ARG=${help_arg}
      -DPLUGIN_FOLDER=${KITE_PLUGIN_INSTALL_DIR} -DREFERENCE=${CMAKE_SOURCE_DIR}/docs/script-api.md
      -DWITH_GSTREAMER=$<TARGET_EXISTS:cinecast_gst> -DWITH_INSPECTOR=${TETHER_INSPECTOR}
      -P ${CMAKE_CURRENT_LIST_DIR}/HelpListed.cmake)
  set_tests_properties(kite.run.help_${name} PROPERTIES TIMEOUT 60)
endforeach()

if(TARGET cinecast_gst)
  set(GSTREAMER_VERSION "GStreamer 1[.][0-9]+[.][0-9]+")
else()
  set(GSTREAMER_VERSION "GStreamer: not in this build")
endif()
add_kite_run_test(version 0 "^$" ARGS --version
  STDOUT "^kite ${PROJECT_VERSION}\nV8 10[.]2[.][0-9]+[.][0-9]+[^\n]*\nV8 of --target=tv, the TV's engine: 3[.]28[.]71[.]20\nGLib 2[.][0-9]+[.][0-9]+\n${GSTREAMER_VERSION}\n$")

add_kite_run_test(args 0 "^$"
  ARGS ${PROBE} ${RUNS}/args.js --not-an-option "two words" x STDOUT "^3:--not-an-option[|]two words[|]x\n$")
add_kite_run_test(args_after_double_dash 0 "^$"
  ARGS ${PROBE} -- ${RUNS}/args.js STDOUT "^0:\n$")
add_kite_run_test(console 0
  "^warn { a: 1 }\nerror\nTrace: trace here\n    at [^\n]*console_output[.]js:8:9\nAssertion failed: assert failed\nkite: warning: Label 'default' already exists for console[.]time[(][)]\nkite: warning: No such label 'nothing' for console[.]timeEnd[(][)]\n$"
  ARGS ${PROBE} ${RUNS}/console_output.js
  STDOUT "^log \\[ 1, 2 \\] { toString: \\[Function: toString\\] } Symbol[(]s[)]\ninfo 1\ndebug\ndefault: 1\nx: 1\ndefault: 2\nt: [0-9.]+ms\n\n\n$")

# Each report: the place (file and line, the source line, a caret under the
# column), then the error and its stack, or the value thrown.
set(STACK "(    at [^\n]*\n)*")
add_kite_run_test(uncaught 1
  "^[^\n]*/uncaught[.]js:16\n  throw new Error[(]\"from timer\"[)];\n  \\^\n\nUncaught Error: from timer\n    at failingTimer [(][^\n]*uncaught[.]js:16:9[)]\n${STACK}[^\n]*/uncaught[.]js:14\n    throw new TypeError[(]\"from afterIdle\"[)];\n    \\^\n\nUncaught TypeError: from afterIdle\n    at failingIdle [^\n]*\n${STACK}[^\n]*/uncaught[.]js:11\n      throw new Error[(]\"from event \" [+] text[)];\n      \\^\n\nUncaught Error: from event one\n    at onEvent [^\n]*\n${STACK}[^\n]*/uncaught[.]js:9\n      setTimeout[(][(][)] => { throw 42; }, 1[)];\n                         \\^\nUncaught 42\n$"
  ARGS ${PROBE} ${RUNS}/uncaught.js STDOUT "^loop went on\n$")

add_kite_run_test(quit_code 3 "\n\nUncaught Error: before quit\n"
  ARGS ${PROBE} ${RUNS}/quit_after_error.js 3 STDOUT "^quitting\n$")
add_kite_run_test(quit_zero_after_error 1 "\n\nUncaught Error: before quit\n"
  ARGS ${PROBE} ${RUNS}/quit_after_error.js 0 STDOUT "^quitting\n$")
add_kite_run_test(quit_keeps_objects 0 "^$"
  ARGS ${PROBE} ${RUNS}/quit_keeps_objects.js STDOUT "^$")
add_kite_run_test(quit_bad_code 0 "^$"
  ARGS ${PROBE} ${RUNS}/quit_bad_code.js
  STDOUT "^(RangeError: kite.quit: the exit code must be an integer from 0 to 255\n)(RangeError[^\n]*\n)(RangeError[^\n]*\n)(RangeError[^\n]*\n)(RangeError[^\n]*\n)$")

add_kite_run_test(log_to_stderr 0 "^I/KITE_TEST\\([0-9]+\\): hello log\nW/\\([0-9]+\\): no tag here\n$"
  ARGS --log=- ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_to_file 0 "^$"
  ARGS --log=${CMAKE_CURRENT_BINARY_DIR}/log_to_file.log ${PROBE} ${RUNS}/log_lines.js
  LOG_FILE ${CMAKE_CURRENT_BINARY_DIR}/log_to_file.log
  LOG_PATTERN "^I/KITE_TEST\\([0-9]+\\): hello log\nW/\\([0-9]+\\): no tag here\n$")
add_kite_run_test(no_log_without_option 0 "^$"
  ARGS ${PROBE} ${RUNS}/log_lines.js)

# --log's filters, as the platform's log reader takes them, and its colour
# escapes: a file holds every line as written; stderr drops them on a pipe
# unless asked and keeps them on a terminal, byte for byte where kept; the
# capture keeps every line as written.
string(ASCII 27 ESC)
# (an escape's "[" is matched by "." here: CMake's lists count brackets)
set(CAPTURED "^\\[\"\\\\u001b.31mred\\\\u001b.0m and plain\",\"debug\"\\]\n$")
add_kite_run_test(log_filter_tag 0 "^I/KITE_TEST\\([0-9]+\\): hello log\n$"
  ARGS --log=-:KITE_TEST:I ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_filter_others 0 "^W/\\([0-9]+\\): no tag here\n$"
  ARGS "--log=-:KITE_TEST:S *:W" ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_colour_dropped_from_a_pipe 0 "^W/KITE_TEST\\([0-9]+\\): red and plain\nD/OTHER\\([0-9]+\\): debug\n$"
  ARGS --log=- ${PROBE} ${RUNS}/log_colour.js STDOUT "${CAPTURED}")
add_kite_run_test(log_colour_always_on_a_pipe 0 "^W/KITE_TEST\\([0-9]+\\): ${ESC}.31mred${ESC}.0m and plain\n$"
  ARGS --log=-:*:W --log-color=always ${PROBE} ${RUNS}/log_colour.js STDOUT "${CAPTURED}")
add_kite_run_test(log_colour_kept_in_a_file 0 "^$"
  ARGS --log=${CMAKE_CURRENT_BINARY_DIR}/log_colour_file.log:KITE_TEST ${PROBE} ${RUNS}/log_colour.js
  STDOUT "${CAPTURED}" LOG_FILE ${CMAKE_CURRENT_BINARY_DIR}/log_colour_file.log
  LOG_PATTERN "^W/KITE_TEST\\([0-9]+\\): ${ESC}.31mred${ESC}.0m and plain\n$")
add_kite_run_test(log_colour_never_with_a_file 2
  "^kite: --log-color=never applies to --log=- only: a log file holds each line as the plug-in wrote it [(]usage"
  ARGS --log-color=never --log=${CMAKE_CURRENT_BINARY_DIR}/log_colour_never.log ${PROBE} ${RUNS}/log_colour.js)
add_kite_run_test(log_unknown_filter 2 "^kite: --log: unknown filter 'A:W:X': a filter is TAG:P, TAG, [*]:P or [*] [(]usage"
  ARGS --log=-:A:W:X ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_unknown_priority 2 "^kite: --log: unknown priority 'Q' in 'A:Q': one of V D I W E F S [(]usage"
  ARGS --log=-:A:Q ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_filters_without_file 2 "^kite: --log needs a file name or - before the filters [(]usage"
  ARGS --log=:KITE_TEST ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_empty_filters 2 "^kite: --log: no filter given [(]usage"
  ARGS --log=-: ${PROBE} ${RUNS}/log_lines.js)
add_kite_run_test(log_bad_colour 2 "^kite: --log-color is auto, always or never, not 'blue' [(]usage"
  ARGS --log=- --log-color=blue ${PROBE} ${RUNS}/log_lines.js)
find_program(KITE_TEST_PYTHON3 python3 REQUIRED)
foreach(colour auto never)
  if(colour STREQUAL "auto")
    set(line "W/KITE_TEST\\([0-9]+\\): \\x1b\\[31mred\\x1b\\[0m and plain\n")
  else()
    set(line "W/KITE_TEST\\([0-9]+\\): red and plain\n")
  endif()
  add_test(NAME kite.run.log_colour_${colour}_on_a_terminal
    COMMAND ${KITE_TEST_PYTHON3} ${RUNS}/on_terminal.py "${line}" ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kite>
            --log=-:KITE_TEST --log-color=${colour} ${PROBE} ${RUNS}/log_colour.js)
  set_tests_properties(kite.run.log_colour_${colour}_on_a_terminal PROPERTIES TIMEOUT 60)
endforeach()

add_kite_run_test(exit_when_nothing_left 0 "^$"
  ARGS ${PROBE} ${RUNS}/exit_when_nothing_left.js STDOUT "^released\n$")
# A reachable object keeps the run going for its late event; one whose
# native keeps no run lets the run end with its event still to come; one
# that keeps the run again waits for it.
foreach(row "kept;^event\n$" "born;^$" "unref;^true\n$" "ref;^true\ntrue\nevent\n$")
  list(GET row 0 ref)
  list(GET row 1 stdout)
  add_kite_run_test(keeps_run_${ref} 0 "^$" ARGS ${PROBE} ${RUNS}/keeps_run.js ${ref} STDOUT "${stdout}")
endforeach()
# A plug-in's thread-safe call: ref'd, it keeps an object nothing reaches,
# and the run, until its posts are in; unref'd, it keeps neither and its
# posts are dropped. With virtual time, where objects keep no run going, a
# ref'd call's thread that posts only after the loop's first look for
# anything left (every 10 ms) still has its posts delivered.
foreach(row "ref;^1\n2\n3\n$" "unref;^$")
  list(GET row 0 ref)
  list(GET row 1 stdout)
  add_kite_run_test(thread_call_${ref} 0 "^$" ARGS --adapter=sim ${PROBE} ${RUNS}/thread_call.js ${ref} STDOUT "${stdout}")
endforeach()
add_kite_run_test(thread_call_ref_virtual_time 0 "^$"
  ARGS --adapter=model --clock=virtual ${PROBE} ${RUNS}/thread_call.js ref 300 STDOUT "^1\n2\n3\n$")
# A rejection's place is where its error was made.
add_kite_run_test(uncaught_promise 1
  "^[^\n]*/uncaught_promise[.]js:5\nPromise[.]reject[(]new Error[(]\"top level rejection\"[)][)];\n               \\^\n\nUncaught [(]in promise[)] Error: top level rejection\n    at [^\n]*uncaught_promise.js:5[^U]*Uncaught [(]in promise[)] Error: async timer\n    at failingTimer "
  ARGS ${PROBE} ${RUNS}/uncaught_promise.js STDOUT "^caught late\nlater timer ran\n$")

# Stack lines and the reports name scripts by their absolute path, however
# the command line or kite.load spelled them. Each row: the test's name,
# where kite runs, the script as named there, and the folder that the
# output names.
function(escape_for_regex out text)
  string(REGEX REPLACE "([][()*+.?^$|\\{}])" "\\\\\\1" escaped "${text}")
  set(${out} "${escaped}" PARENT_SCOPE)
endfunction()
set(LINKED_RUNS ${CMAKE_CURRENT_BINARY_DIR}/linked-scripts)
file(REMOVE ${LINKED_RUNS})
file(CREATE_LINK ${RUNS} ${LINKED_RUNS} SYMBOLIC)
foreach(row "in_its_folder;${RUNS};stack_paths.js;${RUNS}"
            "with_dot;${RUNS};./stack_paths.js;${RUNS}"
            "with_detours;${CMAKE_CURRENT_SOURCE_DIR};scripts/../scripts//stack_paths.js;${RUNS}"
            "absolute;${CMAKE_CURRENT_BINARY_DIR};${RUNS}/stack_paths.js;${RUNS}"
            "through_a_link;${CMAKE_CURRENT_BINARY_DIR};linked-scripts/stack_paths.js;${LINKED_RUNS}")
  list(GET row 0 name)
  list(GET row 1 workdir)
  list(GET row 2 script)
  list(GET row 3 shown)
  escape_for_regex(shown "${shown}")
  add_kite_run_test(stack_paths_${name} 1
    "^${shown}/stack_paths[.]js:8\n  throw new Error[(]\"late\"[)];\n  \\^\n\nUncaught Error: late\n    at late [(]${shown}/stack_paths[.]js:8:9[)]\n"
    ARGS ${PROBE} ${script} WORKDIR ${workdir}
    STDOUT "^    at ${shown}/stack_paths[.]js:5:13\n    at placeOfCaller [(]${shown}/lib/stack_place[.]js:3:10[)]\n$")
endforeach()
escape_for_regex(RUNS_PATTERN "${RUNS}")
add_kite_run_test(syntax_error_named_relative 2 "^${RUNS_PATTERN}/syntax_error[.]js:3\nlet broken = ;\n"
  ARGS ${PROBE} syntax_error.js WORKDIR ${RUNS})

if(TARGET Tether)
  # An error in the main script's top level, or kite.quit there, ends the run
  # at once; the live object is destroyed on the way out.
  function(add_top_level_test name status stderr_pattern)
    set(log ${CMAKE_CURRENT_BINARY_DIR}/top_level_${name}.log)
    add_kite_run_test(top_level_${name} ${status} "${stderr_pattern}"
      ARGS ${ARGN} --log=${log} ${RUNS}/top_level_error.js ${name}
      STDOUT "^$" LOG_FILE ${log} LOG_PATTERN "End to destroy CPlayerAgent")
  endfunction()
  set(TETHER_SIM --adapter=sim --plugin=$<TARGET_FILE:Tether>)
  set(PLACE "^[^\n]*/top_level_error[.]js:[0-9]+\n[^\n]*\n *\\^\n\n")
  add_top_level_test(throw 1 "${PLACE}Uncaught Error: top level\n    at [^\n]*top_level_error.js:9:[^\n]*\n$" ${TETHER_SIM})
  add_top_level_test(quit 3 "^$" ${TETHER_SIM})
  add_top_level_test(type_error 1
    "${PLACE}Uncaught TypeError: sim.emit: the buffering percent must be a Number or BigInt\n    at [^\n]*top_level_error.js:13:[^\n]*\n$"
    ${TETHER_SIM})
  # A log file written with the defaults holds Tether's lines as written:
  # each priority's colour (debug 33, info 32, warning 31) and the reset.
  # (Its error lines, the JSON class's, have none: tests/tether/json.)
  set(log ${CMAKE_CURRENT_BINARY_DIR}/log_frames.log)
  set(FRAME "/WRT_PLUGINS/CINECAST\\([0-9]+\\): PlayerAgent[.]cpp: Create\\([0-9]+\\) > ")
  set(NAMED "\\[Create:[0-9]+\\] \\[Thread Id:\\[[0-9]+\\]\\] ")
  add_kite_run_test(log_file_keeps_tether_colours 0 "^$" ARGS ${TETHER_SIM} --log=${log} ${RUNS}/log_frames.js
    STDOUT "^$" LOG_FILE ${log} LOG_PATTERN
    "\nD${FRAME}${ESC}.33m${NAMED}ENTER!!!${ESC}.0m\nI${FRAME}${ESC}.32m${NAMED}param length is 0${ESC}.0m\nW${FRAME}${ESC}.31m${NAMED}strCmd\\[player_create\\] ErrorCode\\[0\\]${ESC}.0m\n")
  if(TARGET cinecast_gst)
    # By default the GStreamer player, with the libTether.so beside kite.
    add_top_level_test(sim_missing 1 "${PLACE}Uncaught ReferenceError: sim is not defined\n    at [^\n]*top_level_error.js:12:")
  endif()

  # A player that the collector destroyed while it played is reported, with
  # the place that made it; one destroyed on the way out is not.
  set(COLLECTED "kite: a Tether made at ${RUNS_PATTERN}/collected_playing[.]js:")
  set(WARNED " was collected while playing; keep a reference to it\n")
  set(ROWS_WARNED "^${COLLECTED}6:10${WARNED}${COLLECTED}7:10${WARNED}${COLLECTED}11:10${WARNED}${COLLECTED}13:10${WARNED}")
  add_kite_run_test(collected_playing 0 "${ROWS_WARNED}${COLLECTED}28:36${WARNED}$"
    ARGS ${TETHER_SIM} collected_playing.js WORKDIR ${RUNS} STDOUT "^$")
  add_kite_run_test(collected_playing_then_quit 0 "${ROWS_WARNED}$"
    ARGS ${TETHER_SIM} ${RUNS}/collected_playing.js quit STDOUT "^$")

  # SIGINT while the loop waits, SIGTERM while the script's code runs.
  function(add_interrupted_test name signal status)
    set(log ${CMAKE_CURRENT_BINARY_DIR}/interrupted_${name}.log)
    add_test(NAME kite.run.interrupted_${name}
      COMMAND bash ${RUNS}/interrupted.sh ${signal} ${status} ${log} ${CMAKE_CROSSCOMPILING_EMULATOR}
              $<TARGET_FILE:kite> --adapter=sim --plugin=$<TARGET_FILE:Tether> --log=${log} ${RUNS}/interrupted.js ${ARGN})
    set_tests_properties(kite.run.interrupted_${name} PROPERTIES TIMEOUT 60)
  endfunction()
  add_interrupted_test(waiting INT 130)
  add_interrupted_test(busy TERM 143 busy)

  # The tour prints exactly what tour.out holds (";" stands for any character:
  # a list separator cannot pass through).
  file(READ ${RUNS}/tour.out TOUR)
  string(REGEX REPLACE "([][()*+.?^$|\\{}])" "\\\\\\1" TOUR "${TOUR}")
  string(REPLACE ";" "." TOUR "${TOUR}")
  add_kite_run_test(example_tour 0 "^$" ARGS ${TETHER_SIM} ${CMAKE_SOURCE_DIR}/examples/tour.js STDOUT "^${TOUR}$")
endif()

# The app tools for the TV's engine: what kite itself refuses before running
# them (tests/tv has their runs).
set(USAGE_CHECK "[(]usage: kite check --target=tv SCRIPT[.]js[.][.][.]; kite --help says more[)]\n$")
set(USAGE_BUILD "[(]usage: kite build --target=tv --out=DIR PATH[.][.][.]; kite --help says more[)]\n$")
add_kite_run_test(tv_check_without_target 2 "^kite: kite check needs --target=tv: the TV's engine is the one it knows ${USAGE_CHECK}"
  ARGS check app.js)
add_kite_run_test(tv_check_other_target 2 "^kite: --target is tv, the TV's engine [(]V8 3[.]28[)], not 'web' ${USAGE_CHECK}"
  ARGS check --target=web app.js)
add_kite_run_test(tv_check_run_option 2 "^kite: unknown option '--adapter=sim' for kite check ${USAGE_CHECK}"
  ARGS check --target=tv --adapter=sim app.js)
add_kite_run_test(tv_check_no_scripts 2 "^kite: kite check needs the scripts to check ${USAGE_CHECK}"
  ARGS check --target=tv)
add_kite_run_test(tv_build_without_out 2 "^kite: kite build needs --out=DIR, the folder to write the built scripts to ${USAGE_BUILD}"
  ARGS build --target=tv app.js)
add_kite_run_test(tv_build_empty_out 2 "^kite: --out needs a folder ${USAGE_BUILD}" ARGS build --target=tv --out= app.js)
add_kite_run_test(tv_run_with_target 2
  "^kite: --target is for kite check, kite build and kite test: a script runs on this desktop's V8 [(]usage: kite [[]"
  ARGS --target=tv app.js)
add_kite_run_test(tv_test_other_target 2 "^kite: --target is tv, the TV's engine [(]V8 3[.]28[)], not 'desktop' [(]usage: kite test"
  ARGS test --target=desktop)
# A script named like a command runs after --.
add_kite_run_test(tv_script_named_check 0 "^$" ARGS -- check WORKDIR ${RUNS} STDOUT "^a script named check\n$")
# Dates follow the run's clock: a virtual one's from a fixed epoch.
add_kite_run_test(dates_virtual 0 "^$" ARGS --adapter=model --clock=virtual ${PROBE} ${RUNS}/dates.js
  STDOUT "^2000-01-01T00:00:00.000Z 2000-01-01T00:01:00.000Z\n$")
add_kite_run_test(dates_real 0 "^$" ARGS --adapter=model ${PROBE} ${RUNS}/dates.js STDOUT "^the wall clock\n$")
