# names_in(FILE PATTERN OUT): the first group of each line of SOURCE_DIR/FILE
# that matches PATTERN, in order. The scripts that hold docs to the code read
# their lists with it.
function(names_in file pattern out)
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "${pattern}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${pattern}.*" "\\1" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()
