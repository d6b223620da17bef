# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 GCC, the variant with POSIX threads
# (std::thread and std::mutex need it). scripts/windows-cross uses it; by hand:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=<folder holding RtMidi and GoogleTest built for Windows>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVANA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVANA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVANA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVANA_MINGW_TRIPLET}-windres)

# Libraries and packages come from the MinGW sysroot and the folders in CMAKE_PREFIX_PATH, never
# from the Linux system; programs (pkg-config, bash) from the Linux system.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KORVANA_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: the programs run without MinGW's DLLs beside
# them, in the ZIP and under Wine alike.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the Windows programs (and discovers their tests) through Wine where it is installed.
find_program(KORVANA_WINE NAMES wine wine64)
if(KORVANA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVANA_WINE})
endif()
