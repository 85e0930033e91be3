# kite --help (and -h) exits 0 with nothing on stderr, and lists each thing
# below, each row a thing a user looks it up for and where it must be. The
# wording around them is free.
#   KITE, KITE_EMULATOR (separated by |), HELP_ARG (--help or -h),
#   PLUGIN_FOLDER, REFERENCE, WITH_GSTREAMER, WITH_INSPECTOR
string(REPLACE "|" ";" emulator "${KITE_EMULATOR}")
execute_process(COMMAND ${emulator} "${KITE}" ${HELP_ARG}
  RESULT_VARIABLE status OUTPUT_VARIABLE help ERROR_VARIABLE err TIMEOUT 20)

set(failures "")
if(NOT status STREQUAL "0")
  string(APPEND failures "exit status ${status}, expected 0\n")
endif()
if(NOT err STREQUAL "")
  string(APPEND failures "stderr is not empty: ${err}\n")
endif()
macro(listed what pattern)
  if(NOT help MATCHES "${pattern}")
    string(APPEND failures "not listed: ${what} (${pattern})\n")
  endif()
endmacro()

# Options: each at the start of its own line.
listed("the usage of kite"          "^usage: kite [^\n]*SCRIPT[.]js [[]ARGS[.][.][.]]\n")
listed("--adapter=sim"              "\n  --adapter=sim ")
listed("--adapter=model"            "\n  --adapter=model ")
listed("the default adapter"        "[(]default: --adapter=(gst|sim)[)]")
listed("--clock=virtual"            "\n  --clock=virtual ")
listed("--log=FILE|-"               "\n  --log=FILE[|]- ")
listed("--log filters"              "\n  --log=FILE[|]-:FILTERS ")
listed("--log-color"                "\n  --log-color=auto[|]always[|]never ")
listed("--plugin=PATH"              "\n  --plugin=PATH ")
listed("-h, --help"                 "\n  -h, --help ")
listed("-v, --version"              "\n  -v, --version ")
listed("--"                         "\n  -- ")
if(WITH_GSTREAMER)
  listed("--adapter=gst"            "\n  --adapter=gst ")
endif()
if(WITH_INSPECTOR)
  listed("--inspect"                "\n  --inspect[[]=[[]HOST:]PORT] ")
  listed("--inspect-wait"           "\n  --inspect-wait")
  listed("--inspect-brk"            "\n  --inspect-brk")
endif()

# Where plug-ins are looked for: this kite's own folder, then the variable.
listed("the Plug-ins section"       "\nPlug-ins: ")
listed("the plug-in folder"         "\n  /[^\n]*/${PLUGIN_FOLDER}\n")
listed("KITE_PLUGIN_PATH"           "KITE_PLUGIN_PATH")

# The globals, each by the name a script calls it by.
listed("the Globals section"        "\nGlobals:\n")
foreach(global console[.]log setTimeout clearTimeout setInterval clearInterval
               queueMicrotask performance[.]now kite[.]args kite[.]quit kite[.]destroy kite[.]gc
               kite[.]afterIdle kite[.]tid kite[.]load kite[.]captureLog kite[.]takeLog)
  listed("${global}"                "\n  ${global}|, ${global}")
endforeach()
listed("sim with --adapter=sim"     "\n  sim[.][*] +with --adapter=sim only")
listed("sim with --adapter=model"   "\n  sim[.][*] +with --adapter=model")
listed("sim.advance"                "advance[(]ms[)]")

# Exit statuses, one a line.
listed("the Exit status section"    "\nExit status:\n")
foreach(code 0 1 2 N "130, 143")
  listed("exit status ${code}"      "\n  ${code} +[^ \n]")
endforeach()

# The other commands, each with its usage and options.
listed("the usage of kite test"     "\nusage: kite test ")
foreach(option --timeout=MS --reporter=tap --filter=PATTERN --target=tv --coverage --coverage-dir=DIR --watch)
  listed("kite test ${option}"      "\n  ${option} ")
endforeach()
listed("kite test's exit statuses"  "\nExit status: 0 every test passed, 1 [^\n]*, 2 ")
listed("the usage of kite check"    "\nusage: kite check --target=tv ")
listed("the usage of kite build"    "\nusage: kite build --target=tv --out=DIR ")

# Where the full reference is, as the last line.
listed("the reference"              "\nReference: ${REFERENCE}\n$")

if(failures)
  message(FATAL_ERROR "kite ${HELP_ARG}:\n${failures}--- stdout:\n${help}")
endif()
