# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# variant: std::thread and std::mutex need it). The libraries are looked up only
# in MORVEL_WINDOWS_PREFIX (scripts/windows/build-deps.sh fills it) and in the
# compiler's own folder, never among the Linux ones.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MORVEL_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MORVEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVEL_MINGW_TRIPLET}-windres)

if(NOT MORVEL_WINDOWS_PREFIX AND DEFINED ENV{MORVEL_WINDOWS_PREFIX})
  set(MORVEL_WINDOWS_PREFIX $ENV{MORVEL_WINDOWS_PREFIX})
endif()
set(MORVEL_WINDOWS_PREFIX "${MORVEL_WINDOWS_PREFIX}" CACHE PATH "The Windows libraries (static)")

set(CMAKE_FIND_ROOT_PATH /usr/${MORVEL_MINGW_TRIPLET} ${MORVEL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the Windows libraries only.
set(ENV{PKG_CONFIG_LIBDIR} "${MORVEL_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Static libraries throughout, the C and C++ runtimes included: morvel.exe is one
# file that needs no MinGW DLL beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wine runs the test programs, so CTest can start them here.
find_program(MORVEL_WINE NAMES wine wine64)
if(MORVEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MORVEL_WINE})
endif()
