# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model,
# which GoogleTest needs for std::mutex), linked statically so the programs
# need no DLL beyond Windows' own. Tests run under Wine through the emulator
# script that the build writes into its own folder (a private prefix there).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVOLIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVOLIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVOLIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVOLIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVOLIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CMAKE_BINARY_DIR is not known yet while the toolchain file is read the first
# time, so the emulator is a fixed script beside this file (cmake/wine-run.sh)
# that finds the build folder from the program it runs.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
