# kite test: each row is a run in tests/host/runner, its exit status, and the
# stdout that the .out file next to it holds (or the stderr a usage error
# gives). The files report.js to waits.js are the runs' test files.
set(RUNNER ${CMAKE_CURRENT_LIST_DIR})
# The runs are about the runner, so their timers keep real time on the
# simulated player, whatever kite test's default player.
set(TEST_OPTIONS --adapter=sim)
if(TARGET Tether)
  list(APPEND TEST_OPTIONS --plugin=$<TARGET_FILE:Tether>)
endif()
function(add_runner_test name status stdout_file)
  add_kite_run_test(${name} ${status} "^$" ARGS test ${TEST_OPTIONS} ${ARGN}
    STDOUT_FILE ${RUNNER}/${stdout_file} WORKDIR ${RUNNER} PREFIX kite.test.)
endfunction()
add_runner_test(report 1 report.out report.js)
add_runner_test(report_tap 1 report.tap --reporter=tap report.js)
add_runner_test(filter 0 filter.out --filter=corner report.js)
add_runner_test(filter_matches_nothing 1 no_match.out --filter=nothing report.js)
add_runner_test(attribution 1 attribution.out --timeout=300 attribution.js)
# Stopped after its time limit and two seconds more, not sooner.
add_kite_run_test(stuck 1 "^$" ARGS test ${TEST_OPTIONS} --timeout=200 stuck.js STDOUT_FILE ${RUNNER}/stuck.out
  STDOUT "  FAIL loops for ever \\((2[2-9][0-9][0-9]|[3-9][0-9][0-9][0-9]) ms\\)" WORKDIR ${RUNNER} PREFIX kite.test.)
add_runner_test(hooks 1 hooks.out --timeout=300 hooks.js)
add_runner_test(only 0 only.out only.js)
add_runner_test(bad_files 1 bad_files.out syntax_error.js top_level_error.js outside.js fresh.test.js)
# The time limit that applies unless told.
add_runner_test(default_timeout 1 default_timeout.out waits.js)

# Paths in the report: relative to the folder kite test runs in when the
# file lies below it, absolute otherwise. Each row: the test's name, where it
# runs, the file as named there, and the path the report shows.
string(REGEX REPLACE "([][()*+.?^$|\\{}])" "\\\\\\1" RUNNER_PATTERN "${RUNNER}")
foreach(row "from_above;${RUNNER}/..;runner/report.js;runner/report[.]js"
            "with_dot;${RUNNER};./report.js;report[.]js"
            "from_elsewhere;${CMAKE_CURRENT_BINARY_DIR};${RUNNER}/report.js;${RUNNER_PATTERN}/report[.]js")
  list(GET row 0 name)
  list(GET row 1 workdir)
  list(GET row 2 file)
  list(GET row 3 shown)
  add_kite_run_test(paths_${name} 1 "^$" ARGS test ${TEST_OPTIONS} ${file} WORKDIR ${workdir} PREFIX kite.test.
    STDOUT "^${shown}\n[^\n]*\n[^\n]*\n  FAIL compares numbers[^@]*\n          at ${shown}:8:10\n  FAIL")
endforeach()
add_kite_run_test(paths_of_a_file_that_does_not_compile 1 "^$" ARGS test ${TEST_OPTIONS} runner/syntax_error.js
  WORKDIR ${RUNNER}/.. PREFIX kite.test. STDOUT "^runner/syntax_error[.]js\n  FAIL runner/syntax_error[.]js:4: SyntaxError")
add_kite_run_test(paths_in_warnings 0 "^$" ARGS test ${TEST_OPTIONS} runner/collected.js WORKDIR ${RUNNER}/..
  PREFIX kite.test. STDOUT "\nkite: a Tether made at runner/collected[.]js:5:20 was collected while playing;")

# The runner's own checks from inside test files: every one passes.
add_kite_run_test(self_checks 0 "^$" ARGS test ${TEST_OPTIONS} assert.test.js declare.test.js fresh.test.js load.test.js
  STDOUT "\n97 passed, 0 failed\n$" WORKDIR ${RUNNER} PREFIX kite.test.)
# Without --adapter, the default player: the model, on virtual time.
add_kite_run_test(default_adapter 0 "^$" ARGS test --plugin=$<TARGET_FILE:Tether> player.js WORKDIR ${RUNNER}
  STDOUT "^player.js\nsim.answer: undefined, sim.media: function, sim.advance[(]10[)] moved the clock 10 ms\n" PREFIX kite.test.)
# Told otherwise (also before test): the model on the wall clock, or the
# puppet, which has no clock.
add_kite_run_test(real_clock 1 "^$" ARGS --clock=real test --plugin=$<TARGET_FILE:Tether> player.js WORKDIR ${RUNNER}
  STDOUT "^player.js\n  FAIL Error: sim.advance: the clock follows the wall clock in this run;" PREFIX kite.test.)
add_kite_run_test(sim_adapter 1 "^$" ARGS test --plugin=$<TARGET_FILE:Tether> --adapter=sim player.js WORKDIR ${RUNNER}
  STDOUT "^player.js\n  FAIL TypeError: sim.now is not a function\n" PREFIX kite.test.)
# With virtual time, a test or hook that awaits while the clock has nothing
# to run before it moves fails at once, within a limit of a minute; one that
# something can still settle passes.
add_kite_run_test(stalls 1 "^$" ARGS test --plugin=$<TARGET_FILE:Tether> --plugin=$<TARGET_FILE:KiteTestPlugin>
  --timeout=60000 stalls.js STDOUT_FILE ${RUNNER}/stalls.out WORKDIR ${RUNNER} PREFIX kite.test.)
# On the wall clock the time limit alone ends a wait.
add_kite_run_test(real_clock_wait 1 "^$" ARGS test --plugin=$<TARGET_FILE:Tether> --clock=real --timeout=300 waits.js
  WORKDIR ${RUNNER} PREFIX kite.test. STDOUT "^waits.js\n  FAIL waits \\([0-9]+ ms\\)\n      timed out after 300 ms\n\n0 passed, 1 failed\n$")
# What a test leaves behind goes before the next; dates on virtual time.
foreach(row "isolation;1" "dates;0")
  list(GET row 0 file)
  list(GET row 1 status)
  add_kite_run_test(${file} ${status} "^$" ARGS test --plugin=$<TARGET_FILE:Tether> ${file}.js
    STDOUT_FILE ${RUNNER}/${file}.out WORKDIR ${RUNNER} PREFIX kite.test.)
endforeach()
add_kite_run_test(virtual_needs_model 2 "^kite: --clock=virtual needs --adapter=model\n$"
  ARGS test --adapter=sim --clock=virtual player.js WORKDIR ${RUNNER} PREFIX kite.test.)
add_kite_run_test(log_lines 0 "^$" ARGS test ${TEST_OPTIONS} --log=- logs.js
  STDOUT "\n[^\n]*: Tether[.]cpp: HandleCreate[^\n]*\n([^\n]*\n)*  pass creates a player \\([0-9]+ ms\\)\n"
  WORKDIR ${RUNNER} PREFIX kite.test.)
add_kite_run_test(output_cut 1 "^$" ARGS test ${TEST_OPTIONS} --timeout=200 noisy.js
  STDOUT "\n  FAIL prints \\([0-9]+ ms\\)\n      timed out after 200 ms without[^\n]*\n\\[kite test: [0-9]+ more bytes of output cut\\]\n\n0 passed, 1 failed\n$"
  WORKDIR ${RUNNER} PREFIX kite.test.)

# Which files run: a tree with test files where they count and where they
# do not (build* folders are ignored by git, so the tree is made here).
set(TREE ${CMAKE_CURRENT_BINARY_DIR}/runner-tree)
file(REMOVE_RECURSE ${TREE})
foreach(file a.test.js zz.test.js sub/b.test.js sub/c.test.js)
  get_filename_component(name ${file} NAME_WE)
  file(WRITE ${TREE}/${file} "test(\"${name}\", () => {});\n")
endforeach()
file(WRITE ${TREE}/sub/helper.js "throw new Error(\"not a test file\");\n")
foreach(skipped node_modules build build-armhf .git sub/node_modules)
  file(WRITE ${TREE}/${skipped}/skipped.test.js "test(\"skipped\", () => assert.fail(\"ran\"));\n")
endforeach()
file(MAKE_DIRECTORY ${TREE}/empty)
file(WRITE ${TREE}/test "console.log(\"a script named test\");\n")
set(PASS "  pass [a-z]+ \\([0-9]+ ms\\)\n")
add_kite_run_test(finds_files 0 "^$" ARGS test ${TEST_OPTIONS} WORKDIR ${TREE} PREFIX kite.test.
  STDOUT "^a.test.js\n${PASS}zz.test.js\n${PASS}sub/b.test.js\n${PASS}sub/c.test.js\n${PASS}\n4 passed, 0 failed\n$")
add_kite_run_test(named_files_once 1 "^$" ARGS test ${TEST_OPTIONS} sub/c.test.js . sub/helper.js
  WORKDIR ${TREE} PREFIX kite.test.
  STDOUT "^sub/c.test.js\n${PASS}a.test.js\n${PASS}zz.test.js\n${PASS}sub/b.test.js\n${PASS}sub/helper.js\n  FAIL Error: not a test file\n")

# kite's own options may also come before test.
add_kite_run_test(options_before_test 2 "^kite: unknown adapter 'nope'\n$" ARGS --adapter=nope test
  WORKDIR ${TREE} STDOUT "^$" PREFIX kite.test.)
add_kite_run_test(script_named_test 0 "^$" ARGS ${TEST_OPTIONS} -- test WORKDIR ${TREE} PREFIX kite.test.
  STDOUT "^a script named test\n$")

# Usage errors: status 2 and a message, before any file runs.
foreach(row
    "unknown_option|kite: unknown option '--bogus' [(]usage: kite test [^\n]*; kite --help says more[)]|--bogus"
    "missing_path|kite: cannot find no-such-folder: No such file or directory|a.test.js|no-such-folder"
    "no_test_files|kite: no [*].test.js under empty|empty"
    "bad_timeout|kite: --timeout takes a number of milliseconds from 1 to 2147483647, not '5s' [(]|--timeout=5s"
    "bad_reporter|kite: --reporter is text or tap, not 'json' [(]|--reporter=json"
    "bad_filter|kite: --filter: Invalid regular expression: /[(]/: Unterminated group|--filter=("
    "inspector_many_files|kite: kite test serves the inspector for one test file's run, and 4 were found: name one file|--inspect-brk"
    "log_file|kite: kite test takes --log=- only [(]|--log=kite.log")
  string(REPLACE "|" ";" fields "${row}")
  list(POP_FRONT fields name message)
  add_kite_run_test(${name} 2 "^${message}[^\n]*\n$" ARGS test ${TEST_OPTIONS} ${fields} WORKDIR ${TREE}
    STDOUT "^$" PREFIX kite.test.)
endforeach()

# Ctrl-C and SIGTERM while a file runs.
foreach(row "INT|130" "TERM|143")
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 signal)
  list(GET fields 1 status)
  add_test(NAME kite.test.interrupted_${signal}
    COMMAND bash ${RUNNER}/../scripts/interrupted.sh ${signal} ${status} run ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kite> test
            ${TEST_OPTIONS} --timeout=60000 ${RUNNER}/waits.js)
  set_tests_properties(kite.test.interrupted_${signal} PROPERTIES TIMEOUT 60)
endforeach()
