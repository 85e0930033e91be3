# Run by CPack on the staged files: the packaged SDK names the system's V8
# (tether-dev depends on libnode-dev), not the unpacked copy of this build.
file(GLOB_RECURSE _files "${CPACK_TEMPORARY_DIRECTORY}/*/kite-engine.pc"
     "${CPACK_TEMPORARY_DIRECTORY}/*/KiteSDKConfig.cmake")
foreach(_file IN LISTS _files)
  file(READ "${_file}" _text)
  string(REPLACE "${CPACK_KITE_V8_COPY}" "/usr" _text "${_text}")
  file(WRITE "${_file}" "${_text}")
endforeach()
