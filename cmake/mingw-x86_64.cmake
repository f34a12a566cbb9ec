# The same program and its tests built as 64-bit Windows code, for machines whose kernel runs no
# 32-bit code (so 32-bit Wine cannot start there): the test world then runs them under 64-bit
# Wine. The product that ships is always the 32-bit build (mingw-i686.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV7_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The 64-bit loader itself: the plain wine command picks the 32-bit one whenever it is installed.
find_program(KV7_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KV7_WINE64})
