# Cross-compiles the 32-bit Windows program on Linux: the product that ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KV7_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

find_program(KV7_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KV7_WINE})
