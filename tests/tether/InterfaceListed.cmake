# Tether's methods and callback properties, in order, as an object shows
# them (runs/interface_names.js), as the tables of docs/script-api.md list
# them and as types/tether.d.ts declares them: the three lists must agree.
#   KITE, KITE_ARGS (separated by |), KITE_EMULATOR (separated by |; empty
#   unless cross-built), SOURCE_DIR
string(REPLACE "|" ";" args "${KITE_ARGS}")
string(REPLACE "|" ";" emulator "${KITE_EMULATOR}")
execute_process(COMMAND ${emulator} "${KITE}" ${args}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kite exited with status ${status}:\n${err}")
endif()
string(REGEX MATCHALL "[^\n]+" printed "${out}")
list(GET printed 0 object_methods)
list(GET printed 1 object_properties)
string(REPLACE " " ";" object_methods "${object_methods}")
string(REPLACE " " ";" object_properties "${object_properties}")

include(${CMAKE_CURRENT_LIST_DIR}/../support/NamesIn.cmake)
names_in(docs/script-api.md "^\\| `(player_[a-z_]+)\\(" reference_methods)
names_in(docs/script-api.md "^\\| `(on[a-z_]+)` \\|" reference_properties)
names_in(types/tether.d.ts "^  (player_[a-z_]+)\\(" declared_methods)
names_in(types/tether.d.ts "^  set (on[a-z_]+)\\(" declared_properties)

set(failures "")
foreach(kind methods properties)
  list(LENGTH object_${kind} count)
  if(count EQUAL 0)
    string(APPEND failures "the object shows no ${kind}\n")
  endif()
  foreach(source reference declared)
    if(NOT "${${source}_${kind}}" STREQUAL "${object_${kind}}")
      string(APPEND failures "${kind}: the object has\n  ${object_${kind}}\nthe ${source} list has\n  ${${source}_${kind}}\n")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
