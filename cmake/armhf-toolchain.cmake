# Cross build for 32-bit ARM (armhf) with Debian's cross compiler, against a
# sysroot of Debian armhf packages unpacked by scripts/armhf.sh. Programs and
# tests run under qemu-user.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/armhf-toolchain.cmake [-DARMHF_SYSROOT=DIR] ...
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

if(NOT ARMHF_SYSROOT)
  get_filename_component(ARMHF_SYSROOT ${CMAKE_CURRENT_LIST_DIR}/../.deps/armhf/sysroot ABSOLUTE)
endif()
if(NOT EXISTS ${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf)
  message(FATAL_ERROR "no armhf sysroot at ${ARMHF_SYSROOT}: run scripts/armhf.sh")
endif()
# try_compile projects read this file again and need the same sysroot.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ARMHF_SYSROOT)

# No --sysroot: the cross compiler keeps its own libc headers and start files;
# the sysroot supplies the libraries, their headers and the run-time loader.
set(CMAKE_FIND_ROOT_PATH ${ARMHF_SYSROOT} /usr/arm-linux-gnueabihf)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(_armhf_libdirs ${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf ${ARMHF_SYSROOT}/lib/arm-linux-gnueabihf)
# Libraries linked from the sysroot find their own dependencies there.
set(_armhf_link "")
foreach(dir ${_armhf_libdirs})
  string(APPEND _armhf_link " -Wl,-rpath-link,${dir}")
endforeach()
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_armhf_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_armhf_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_armhf_link}")

# Under qemu-user on a 64-bit host, 32-bit readdir() on ext4 fails with
# EOVERFLOW unless offsets are 64 bits wide.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")

# V8 is the sysroot's libnode, not the desktop copy under .deps/libnode.
set(V8_INCLUDE_DIR ${ARMHF_SYSROOT}/usr/include/node CACHE PATH "V8 headers")
set(V8_LIBRARY ${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf/libnode.so.108 CACHE FILEPATH "V8 library")

# cmake/armhf comes first: it holds the project's own clutter-1.0.pc (see there).
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${ARMHF_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
    "${CMAKE_CURRENT_LIST_DIR}/armhf:${ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf/pkgconfig:${ARMHF_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# binfmt_misc may be missing, so every armhf program runs through qemu;
# -L makes it load the sysroot's loader and libraries.
find_program(QEMU_ARM NAMES qemu-arm-static qemu-arm REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_ARM} -L ${ARMHF_SYSROOT})
