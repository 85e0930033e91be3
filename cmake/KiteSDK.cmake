# Installation and packages: kite, the platform libraries, the plug-in in
# kite's plug-in folder, the headers, the script reference and declarations,
# and the CMake and pkg-config files through which other plug-ins build
# against them (find_package(KiteSDK), pkg-config kite-engine).
include(CMakePackageConfigHelpers)

set(KITE_SDK_LIBRARIES kiteEngine dlog cinecast)
if(TARGET cinecast_gst)
  list(APPEND KITE_SDK_LIBRARIES cinecast_gst)
endif()

# Installed binaries find ours relative to themselves, so that a moved
# prefix still works, and carry no path into this build or into .deps: V8
# is the system's libnode.so.108.
file(RELATIVE_PATH _kite_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH _kite_plugins_to_lib ${CMAKE_INSTALL_FULL_LIBDIR}/kite/plugins ${CMAKE_INSTALL_FULL_LIBDIR})
string(REGEX REPLACE "/$" "" _kite_plugins_to_lib "${_kite_plugins_to_lib}")
set_target_properties(kite PROPERTIES INSTALL_RPATH "$ORIGIN/${_kite_bin_to_lib}")
set_target_properties(${KITE_SDK_LIBRARIES} PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(Tether PROPERTIES INSTALL_RPATH "$ORIGIN/${_kite_plugins_to_lib}")

install(TARGETS kite RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
# libkiteEngine.so, the name a build links by, is the SDK's; what runs
# needs only the soname, libkiteEngine.so.ABI.
install(TARGETS ${KITE_SDK_LIBRARIES} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
        NAMELINK_COMPONENT dev)
install(TARGETS Tether LIBRARY DESTINATION ${KITE_PLUGIN_INSTALL_DIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/docs/script-api.md DESTINATION ${KITE_DOC_INSTALL_DIR} COMPONENT runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/types/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kite/types
        COMPONENT runtime FILES_MATCHING PATTERN "*.d.ts" PATTERN test EXCLUDE)

set(KITE_INCLUDE_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/kite)
set(_kite_header_excludes)
if(NOT TARGET cinecast_gst)
  list(APPEND _kite_header_excludes PATTERN GstAdapter.h EXCLUDE)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/bridge/include/ ${PROJECT_SOURCE_DIR}/platform/dlog/include/
                  ${PROJECT_SOURCE_DIR}/platform/cinecast/include/
        DESTINATION ${KITE_INCLUDE_INSTALL_DIR} COMPONENT dev ${_kite_header_excludes})
install(FILES ${PROJECT_SOURCE_DIR}/src/Tether/TetherJson.h DESTINATION ${KITE_INCLUDE_INSTALL_DIR} COMPONENT dev)

# V8 for users of the SDK: Debian's libnode108 and libnode-dev where both are
# installed, else the unpacked copy this build uses.
cmake_path(GET V8_INCLUDE_DIR PARENT_PATH KITE_V8_COPY)
cmake_path(GET KITE_V8_COPY PARENT_PATH KITE_V8_COPY)
set(KITE_V8_ARCH_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
if(EXISTS /usr/${KITE_V8_ARCH_LIBDIR}/libnode.so.108 AND EXISTS /usr/include/node/v8.h)
  set(KITE_V8_ROOT /usr)
else()
  set(KITE_V8_ROOT ${KITE_V8_COPY})
endif()

get_target_property(KITE_SDK_ABI kiteEngine SOVERSION)
set(KITE_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KiteSDK)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KiteSDKConfig.cmake.in
  ${CMAKE_BINARY_DIR}/sdk/KiteSDKConfig.cmake INSTALL_DESTINATION ${KITE_CMAKE_INSTALL_DIR}
  PATH_VARS CMAKE_INSTALL_LIBDIR KITE_INCLUDE_INSTALL_DIR KITE_PLUGIN_INSTALL_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/sdk/KiteSDKConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
file(RELATIVE_PATH KITE_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" KITE_PC_TO_PREFIX "${KITE_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/kite-engine.pc.in ${CMAKE_BINARY_DIR}/sdk/kite-engine.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/sdk/KiteSDKConfig.cmake ${CMAKE_BINARY_DIR}/sdk/KiteSDKConfigVersion.cmake
        DESTINATION ${KITE_CMAKE_INSTALL_DIR} COMPONENT dev)
install(FILES ${CMAKE_BINARY_DIR}/sdk/kite-engine.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# Debian packages (cpack -G DEB, or scripts/package.sh): tether with the
# run-time files, tether-dev with the headers, the CMake package and the
# pkg-config file. Native builds only.
if(CMAKE_CROSSCOMPILING)
  return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tether)
set(CPACK_PACKAGE_CONTACT "Tether developers <tether@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME tether)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION interpreters)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Kite engine host for the desktop with the Tether media player plug-in
kite runs JavaScript application scripts with the plug-ins of its plug-in
folder; Tether plays media through GStreamer or a simulated player.")
if(TARGET cinecast_gst)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS
      "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
endif()
set(CPACK_DEBIAN_DEV_PACKAGE_NAME tether-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "tether (= ${PROJECT_VERSION}), libnode-dev (>= 18.20), libglib2.0-dev, libjsoncpp-dev, pkg-config")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Kite engine SDK for building kite plug-ins
Headers of the bridge library, the log service, the media player adapter
and CTetherJson, with find_package(KiteSDK) and pkg-config kite-engine.")

# Where V8 is the unpacked copy, its package's shlibs file lets
# dpkg-shlibdeps name libnode108, and the packaged SDK files name the
# system's V8, as on a machine with the package installed.
file(GLOB _kite_libnode_deb ${TETHER_DEPS_DIR}/debs/libnode108_*.deb)
if(KITE_V8_ROOT STREQUAL KITE_V8_COPY AND _kite_libnode_deb)
  list(GET _kite_libnode_deb 0 _kite_libnode_deb)
  set(_kite_shlibs_root ${CMAKE_BINARY_DIR}/sdk/libnode108)
  execute_process(COMMAND dpkg-deb -I ${_kite_libnode_deb} shlibs OUTPUT_VARIABLE _kite_shlibs
                  RESULT_VARIABLE _kite_status)
  if(_kite_status EQUAL 0)
    file(WRITE ${_kite_shlibs_root}/DEBIAN/shlibs "${_kite_shlibs}")
    file(MAKE_DIRECTORY ${_kite_shlibs_root}/${KITE_V8_ARCH_LIBDIR})
    file(CREATE_LINK ${KITE_V8_COPY}/${KITE_V8_ARCH_LIBDIR}/libnode.so.108
         ${_kite_shlibs_root}/${KITE_V8_ARCH_LIBDIR}/libnode.so.108 SYMBOLIC)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_kite_shlibs_root}/${KITE_V8_ARCH_LIBDIR})
  endif()
  set(CPACK_KITE_V8_COPY ${KITE_V8_COPY})
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackagedV8.cmake)
endif()
include(CPack)
