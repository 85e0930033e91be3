# Writes a C++ source that holds script files as string literals, for
# programs that carry scripts of their own:
#   cmake -DOUTPUT=FILE.cpp -DHEADER=NAME.h -DARRAY=NAME -DPREFIX=NAME: "-DSCRIPTS=A.js|B.js" -P EmbedScripts.cmake
# Each entry is {PREFIX + the file's name, its text}; a null entry ends the list.
string(REPLACE "|" ";" scripts "${SCRIPTS}")
set(delimiter "kite_js")
set(body "// Generated from ${SCRIPTS} by EmbedScripts.cmake.\n#include \"${HEADER}\"\n\nnamespace Kite {\n\nconst CEmbeddedScript ${ARRAY}[] = {\n")
foreach(script ${scripts})
  file(READ "${script}" text)
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${script} holds )${delimiter}\", which ends the literal")
  endif()
  get_filename_component(name "${script}" NAME)
  string(APPEND body "    {\"${PREFIX}${name}\", R\"${delimiter}(${text})${delimiter}\"},\n")
endforeach()
string(APPEND body "    {nullptr, nullptr},\n};\n\n}  // namespace Kite\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
