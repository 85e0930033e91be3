# V8 comes from Debian's libnode, unpacked into .deps/ by scripts/setup.sh;
# with -DTETHER_V8=3.28, from Node.js 0.12.18, the TV engine's generation.
set(TETHER_DEPS_DIR ${CMAKE_SOURCE_DIR}/.deps CACHE PATH "Unpacked third-party packages")
set(TETHER_V8 10.2 CACHE STRING "The V8 generation to build against: 10.2 (libnode) or 3.28 (Node.js 0.12.18)")
set_property(CACHE TETHER_V8 PROPERTY STRINGS 10.2 3.28)
if(TETHER_V8 STREQUAL "3.28")
  # Headers only: the program that loads the libraries, Node.js 0.12's
  # node, exports V8 to them.
  find_path(V8_3_28_INCLUDE_DIR v8.h PATHS ${TETHER_DEPS_DIR}/node-v0.12.18/include/node
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT V8_3_28_INCLUDE_DIR)
    message(FATAL_ERROR "V8 3.28 not found under ${TETHER_DEPS_DIR}/node-v0.12.18: run scripts/setup.sh first")
  endif()
  set(_v8_include_dir ${V8_3_28_INCLUDE_DIR})
  set(_v8_library "")
elseif(NOT TETHER_V8 STREQUAL "10.2")
  message(FATAL_ERROR "TETHER_V8 is 10.2 or 3.28, not ${TETHER_V8}")
else()
  find_path(V8_INCLUDE_DIR v8.h
    PATHS ${TETHER_DEPS_DIR}/libnode/usr/include/node NO_DEFAULT_PATH)
  find_library(V8_LIBRARY NAMES node libnode.so.108
    PATHS ${TETHER_DEPS_DIR}/libnode/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}
          ${TETHER_DEPS_DIR}/libnode/usr/lib/x86_64-linux-gnu NO_DEFAULT_PATH)
  if(NOT V8_INCLUDE_DIR OR NOT V8_LIBRARY)
    message(FATAL_ERROR "V8 not found under ${TETHER_DEPS_DIR}/libnode: run scripts/setup.sh first")
  endif()
  get_filename_component(V8_LIBRARY_DIR ${V8_LIBRARY} DIRECTORY)
  set(_v8_include_dir ${V8_INCLUDE_DIR})
  set(_v8_library ${V8_LIBRARY})
endif()
add_library(v8 INTERFACE)
target_include_directories(v8 SYSTEM INTERFACE ${_v8_include_dir})
target_link_libraries(v8 INTERFACE ${_v8_library})

find_package(PkgConfig REQUIRED)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0 gthread-2.0)
pkg_check_modules(CLUTTER REQUIRED IMPORTED_TARGET clutter-1.0)
pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
find_package(Threads REQUIRED)
