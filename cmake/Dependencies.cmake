# V8 comes from Debian's libnode, unpacked into .deps/ by scripts/setup.sh.
set(TETHER_DEPS_DIR ${CMAKE_SOURCE_DIR}/.deps CACHE PATH "Unpacked third-party packages")
find_path(V8_INCLUDE_DIR v8.h
  PATHS ${TETHER_DEPS_DIR}/libnode/usr/include/node NO_DEFAULT_PATH)
find_library(V8_LIBRARY NAMES node libnode.so.108
  PATHS ${TETHER_DEPS_DIR}/libnode/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}
        ${TETHER_DEPS_DIR}/libnode/usr/lib/x86_64-linux-gnu NO_DEFAULT_PATH)
if(NOT V8_INCLUDE_DIR OR NOT V8_LIBRARY)
  message(FATAL_ERROR "V8 not found under ${TETHER_DEPS_DIR}/libnode: run scripts/setup.sh first")
endif()
get_filename_component(V8_LIBRARY_DIR ${V8_LIBRARY} DIRECTORY)
add_library(v8 INTERFACE)
target_include_directories(v8 SYSTEM INTERFACE ${V8_INCLUDE_DIR})
target_link_libraries(v8 INTERFACE ${V8_LIBRARY})

find_package(PkgConfig REQUIRED)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0 gthread-2.0)
pkg_check_modules(CLUTTER REQUIRED IMPORTED_TARGET clutter-1.0)
pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
find_package(Threads REQUIRED)
