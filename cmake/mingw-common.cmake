# What both Windows toolchains share, for the MinGW-w64 target named by KV7_MINGW. The
# posix-thread variant is the one whose libstdc++ has std::mutex and std::thread, which
# GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KV7_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV7_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KV7_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KV7_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Nothing but the system's own DLLs may sit beside the program: the C and C++ runtimes and the
# thread library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
