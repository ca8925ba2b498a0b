# SPDX-License-Identifier: GPL-2.0-or-later
# Cross build of the core for 64-bit Windows with Debian's mingw-w64 compilers. The programs are
# linked statically, so they need no runtime DLLs, and run in Wine when CMake or CTest run them
# on this machine.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-compilers.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
