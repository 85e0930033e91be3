# kite --inspect: V8's inspector (the header that libnode-dev lacks comes from
# Debian's nodejs sources, fetched by scripts/setup.sh into .deps/) served
# over libsoup. Off by default when cross-building: the armhf sysroot has no
# libsoup, and kite then says that --inspect is not available.
if(CMAKE_CROSSCOMPILING)
  set(TETHER_INSPECTOR_DEFAULT OFF)
else()
  set(TETHER_INSPECTOR_DEFAULT ON)
endif()
option(TETHER_INSPECTOR "Build kite --inspect (V8 inspector over libsoup)" ${TETHER_INSPECTOR_DEFAULT})
if(TETHER_INSPECTOR)
  find_path(V8_INSPECTOR_INCLUDE_DIR v8-inspector.h
    PATHS ${TETHER_DEPS_DIR}/v8-inspector/include NO_DEFAULT_PATH)
  pkg_check_modules(SOUP IMPORTED_TARGET libsoup-3.0)
  if(NOT V8_INSPECTOR_INCLUDE_DIR OR NOT SOUP_FOUND)
    message(FATAL_ERROR "kite --inspect needs libsoup-3.0 and ${TETHER_DEPS_DIR}/v8-inspector: "
                        "run scripts/setup.sh first, or configure with -DTETHER_INSPECTOR=OFF")
  endif()
endif()
