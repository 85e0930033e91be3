# kite --inspect through Debian's python3-websocket (set up for /usr/bin's
# Python only). A build without the inspector (armhf) says so instead.
if(TETHER_INSPECTOR AND TARGET Tether)
  find_program(DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
  foreach(case discovery_and_host_check listening_addresses evaluate_console_and_end_on_detach
               every_console_method_reaches_the_client two_clients_at_once node_inspect
               breakpoint_and_pause_on_uncaught_exception_in_callbacks uncaught_errors_reach_the_client
               signals_while_the_debugger_holds_the_script descriptors_return_to_their_first_count
               bad_input_gets_an_error_or_a_closed_connection discovery_keeps_its_connection_open
               oversized_headers_get_431 scripts_are_known_by_absolute_path)
    add_test(NAME kite.inspect.${case}
      COMMAND ${DEBIAN_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/inspect_tests.py $<TARGET_FILE:kite> $<TARGET_FILE:Tether>
              InspectTests.test_${case})
    set_tests_properties(kite.inspect.${case} PROPERTIES TIMEOUT 60)
  endforeach()
  foreach(case TestsInTheDebugger.test_a_client_holds_a_test_past_its_time_limit
               TestsInTheDebugger.test_a_port_in_use_is_a_usage_error
               BesideTheDebugger.test_async_call_stacks_across_timers_promise_jobs_player_events_and_afterIdle_calls
               BesideTheDebugger.test_the_allocation_timeline_gets_heap_statistics
               BesideTheDebugger.test_the_main_loop_waiting_is_idle_time_in_a_cpu_profile)
    string(REGEX REPLACE "^.*[.]test_" "" name ${case})
    add_test(NAME kite.inspect.${name}
      COMMAND ${DEBIAN_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/devtools_tests.py $<TARGET_FILE:kite> $<TARGET_FILE:Tether>
              ${case})
    # The first case holds its runs for some 20 s of pauses.
    set_tests_properties(kite.inspect.${name} PROPERTIES TIMEOUT 180)
  endforeach()
  add_kite_run_test(inspect_public_address 0
    "^kite: warning: the inspector listens on 0[.]0[.]0[.]0:[0-9]+, which is not a loopback address: [^\n]+\nDebugger listening on ws://0[.]0[.]0[.]0:"
    ARGS ${PROBE} --inspect=0.0.0.0:0 ${RUNS}/args.js)
  add_kite_run_test(inspect_help 0 "^$" ARGS --help
    STDOUT "\n  --inspect\\[=\\[HOST:\\]PORT\\] +serve Chrome DevTools[^\n]*\n +\\(default 127[.]0[.]0[.]1:9229; port 0 picks a free one\\)\n  --inspect-wait\\[=[.][.][.]\\] [^\n]*\n  --inspect-brk")
elseif(NOT TETHER_INSPECTOR)
  add_kite_run_test(inspect_not_built 2 "^kite: --inspect is not available in this build of kite\n$"
    ARGS ${PROBE} --inspect ${RUNS}/args.js)
  add_kite_run_test(test_inspect_not_built 2 "^kite: --inspect is not available in this build of kite\n$"
    ARGS ${PROBE} test --inspect-brk ${CMAKE_CURRENT_LIST_DIR}/held.js STDOUT "^$")
endif()
add_kite_run_test(inspect_bad_address 2 "^kite: --inspect-brk takes \\[HOST:\\]PORT, not 'localhost:99999' [(]usage"
  ARGS ${PROBE} --inspect-brk=localhost:99999 ${RUNS}/args.js)
