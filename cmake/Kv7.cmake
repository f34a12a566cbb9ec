# Helpers shared by every folder: strict warnings on our own code, test executables that CTest
# lists case by case, and libFuzzer targets for the native preset.

option(KV7_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(KV7_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The Windows build is reproducible: built twice from one commit, in any folder on any day, the
# program is the same file. No build paths in __FILE__ or the debug information (the build
# folder is mapped after the source folder that holds it, so it wins), no link time in the PE
# header. The maps have no trailing slash so that they also catch the compiler's working folder
# (the build folder itself, which the debug information names).
if(KV7_WINDOWS)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND NOT KV7_WINDOWS)
  set(KV7_FUZZ ON)
else()
  set(KV7_FUZZ OFF)
endif()

# Our code builds without a single warning; third-party code (GoogleTest) is left alone.
function(kv7_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(KV7_WINDOWS)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# kv7_test(<name> SOURCES ... LIBS ... [LABELS ...] [PROPERTIES ...] [LOCALES ...])
# One GoogleTest executable; every case becomes its own CTest test. Under the win32 preset the
# executable runs through Wine (the toolchain's emulator) and lands beside the simulated bench.
# With LOCALES every case runs once per locale, named "<name>.<locale>.<case>": LC_ALL of the
# Wine processes, from which Wine takes the ANSI and OEM code pages.
function(kv7_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;PROPERTIES;LOCALES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  kv7_strict(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  # Test discovery flattens the property list it is handed, so a second label would be read as
  # a property name and the properties after it lost without a word.
  list(LENGTH T_LABELS label_count)
  if(label_count GREATER 1)
    message(FATAL_ERROR "kv7_test(${name}): one label per test executable")
  endif()
  if(NOT T_LOCALES)
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      TEST_PREFIX "${name}."
      PROPERTIES LABELS "${T_LABELS}" ${T_PROPERTIES})
  endif()
  foreach(locale ${T_LOCALES})
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      TEST_PREFIX "${name}.${locale}."
      PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "LC_ALL=${locale}" ${T_PROPERTIES})
  endforeach()
endfunction()

# kv7_fuzz(<name> SOURCES ... LIBS ... CORPUS <dir> RUNS <n>)
# A libFuzzer target (native clang only), plus a short deterministic run of it as a test.
function(kv7_fuzz name)
  if(NOT KV7_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS;RUNS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  kv7_strict(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(NOT F_RUNS)
    set(F_RUNS 20000)
  endif()
  # libFuzzer adds what it finds to its first corpus folder. That one is emptied before each
  # run, so the run is the same every time; the committed seeds are only read.
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  add_test(NAME ${name}.short
    COMMAND sh -c "rm -rf '${work}' && mkdir -p '${work}' && exec \"$0\" \"$@\""
            $<TARGET_FILE:${name}> -seed=1 -runs=${F_RUNS} -max_len=4096 ${work} ${F_CORPUS})
  set_tests_properties(${name}.short PROPERTIES LABELS fuzz)
endfunction()
