# kite test --coverage and --watch on the app of lib/, whose tests leave known
# lines, functions and branches unrun (see lib/shapes.js).
set(COVERAGE ${CMAKE_CURRENT_LIST_DIR})
set(COVERAGE_OPTIONS --adapter=sim)
if(TARGET Tether)
  list(APPEND COVERAGE_OPTIONS --plugin=$<TARGET_FILE:Tether>)
endif()
set(RULE "--------------[+]--------[+]-------[+]----------[+]----------[+]---------[+]-------[+]-----------------?\n")
if(TETHER_INSPECTOR)
  # Both files: their runs merged (area.test.js alone leaves perimeter
  # unrun, perimeter.test.js alone area).
  add_kite_run_test(table 0 "^$" ARGS test ${COVERAGE_OPTIONS} --coverage area.test.js perimeter.test.js
    STDOUT_FILE ${COVERAGE}/table.out WORKDIR ${COVERAGE} PREFIX kite.coverage.)
  # Each row: the file run alone, and its table's rows.
  foreach(row
      "area|lib/shapes.js [|]  63.16 [|] 12/19 [|]    40.00 [|]      2/5 [|]   33.33 [|]   1/3 [|] 10, 13-15, 17-19\nlib/sides.js  [|] 100.00 [|]   2/2 [|]     0.00 [|]      0/1 [|]    0.00 [|]   0/1 [|]\n${RULE}all files     [|]  66.67 [|] 14/21 [|]    33.33 [|]      2/6 [|]   25.00 [|]   1/4 [|]\n$"
      "perimeter|lib/shapes.js [|]  36.84 [|]  7/19 [|]    25.00 [|]      1/4 [|]   33.33 [|]   1/3 [|] 3-11, 17-19\nlib/sides.js  [|] 100.00 [|]   2/2 [|]    50.00 [|]      1/2 [|]  100.00 [|]   1/1 [|]\n${RULE}all files     [|]  42.86 [|]  9/21 [|]    33.33 [|]      2/6 [|]   50.00 [|]   2/4 [|]\n$")
    string(REPLACE "|" ";" fields "${row}")
    list(POP_FRONT fields name)
    string(REPLACE ";" "|" table "${fields}")
    add_kite_run_test(${name}_alone 0 "^$" ARGS test ${COVERAGE_OPTIONS} --coverage ${name}.test.js
      STDOUT "\n${table}" WORKDIR ${COVERAGE} PREFIX kite.coverage.)
  endforeach()
  add_kite_run_test(tap 0 "^$" ARGS test ${COVERAGE_OPTIONS} --coverage --reporter=tap area.test.js perimeter.test.js
    STDOUT "\n# 2 passed, 0 failed\n#\n# coverage of the files the tests loaded:\n# file  [^\n]+\n# -[^\n]+\n# lib/shapes.js [|]  78.95 [|] 15/19 [|]    50.00 [|]      3/6 [|]   66.67 [|]   2/3 [|] 10, 17-19\n"
    WORKDIR ${COVERAGE} PREFIX kite.coverage.)
  add_kite_run_test(nothing_loaded 0 "^$" ARGS test ${COVERAGE_OPTIONS} --coverage loads_nothing.js
    STDOUT "\n1 passed, 0 failed\n\ncoverage: the tests loaded no file with kite.load\n$" WORKDIR ${COVERAGE} PREFIX kite.coverage.)
  # Twelve runs of uncovered lines: the row shows ten.
  add_kite_run_test(many_gaps 0 "^$" ARGS test ${COVERAGE_OPTIONS} --coverage loads_gaps.js
    STDOUT "\nlib/gaps.js [|]   5.26 [|]  2/38 [|]     0.00 [|]     0/12 [|]    0.00 [|]  0/12 [|] 2-4, 6-8, 10-12, 14-16, 18-20, 22-24, 26-28, 30-32, 34-36, 38-40, [.][.][.] 2 more\n"
    WORKDIR ${COVERAGE} PREFIX kite.coverage.)
  add_test(NAME kite.coverage.lcov
    COMMAND bash ${COVERAGE}/lcov.sh ${COVERAGE}/lcov.expected ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kite> test
            ${COVERAGE_OPTIONS} area.test.js perimeter.test.js)
  set_tests_properties(kite.coverage.lcov PROPERTIES TIMEOUT 60 WORKING_DIRECTORY ${COVERAGE})
else()
  add_kite_run_test(not_built 2 "^kite: --coverage is not available in this build of kite\n$"
    ARGS test ${COVERAGE_OPTIONS} --coverage area.test.js WORKDIR ${COVERAGE} STDOUT "^$" PREFIX kite.coverage.)
endif()

# Bad input: status 2 and a message, before any test runs.
if(TETHER_INSPECTOR)
  add_kite_run_test(dir_not_writable 2 "^kite: --coverage-dir: cannot make area.test.js/out: Not a directory\n$"
    ARGS test ${COVERAGE_OPTIONS} --coverage-dir=area.test.js/out area.test.js WORKDIR ${COVERAGE} STDOUT "^$"
    PREFIX kite.coverage.)
endif()
foreach(row
    "dir_empty|kite: --coverage-dir needs a folder [(]usage: kite test |--coverage-dir="
    "with_inspector|kite: --coverage and --inspect do not go together: [^\n]* [(]usage: kite test |--coverage|--inspect"
    "for_the_tv|kite: --coverage measures the scripts as written, on this desktop's V8, not with --target=tv [(]|--coverage|--target=tv")
  string(REPLACE "|" ";" fields "${row}")
  list(POP_FRONT fields name message)
  add_kite_run_test(${name} 2 "^${message}" ARGS test ${COVERAGE_OPTIONS} ${fields} area.test.js
    WORKDIR ${COVERAGE} STDOUT "^$" PREFIX kite.coverage.)
endforeach()

# With coverage where the build has it.
if(TETHER_INSPECTOR)
  set(WATCH_COVERAGE --coverage)
else()
  set(WATCH_COVERAGE "")
endif()
add_test(NAME kite.watch.reruns
  COMMAND bash ${COVERAGE}/watch.sh ${COVERAGE} "${WATCH_COVERAGE}" ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kite> test ${COVERAGE_OPTIONS})
set_tests_properties(kite.watch.reruns PROPERTIES TIMEOUT 300)
