# kite --inspect, debugged through Debian's python3-websocket (installed by
# scripts/setup.sh; the machine's other Pythons may lack it). A build without
# the inspector (armhf) says so instead.
if(TETHER_INSPECTOR AND TARGET Tether)
  find_program(DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
  foreach(case discovery_host_check_and_one_client evaluate_console_and_end_on_detach
               breakpoint_in_callback_while_the_loop_waits pause_on_uncaught_exception_in_event
               inspect_brk_pauses_on_first_line)
    add_test(NAME kite.inspect.${case}
      COMMAND ${DEBIAN_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/inspect_tests.py $<TARGET_FILE:kite> $<TARGET_FILE:Tether>
              InspectTests.test_${case})
    set_tests_properties(kite.inspect.${case} PROPERTIES TIMEOUT 60)
  endforeach()
elseif(NOT TETHER_INSPECTOR)
  add_kite_run_test(inspect_not_built 2 "^kite: --inspect is not available in this build of kite\n$"
    ARGS ${PROBE} --inspect ${RUNS}/args.js)
endif()
