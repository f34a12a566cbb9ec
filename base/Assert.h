/*
 * The program's one assertion report, for violated preconditions (programming errors, never
 * ordinary input). It shows "Assertion failed: <expr>, file <unit>, line <n>" in an error box
 * and then ends the process. A file that asserts names its source unit once:
 *     constexpr char ASSERT_UNIT[] = "Board";
 */
#pragma once

[[noreturn]] void AssertionFailed(const char* expression, const char* unit, int line);

// The exit code of a process ended by a failed assertion.
inline constexpr int ASSERTION_EXIT_CODE = 3;

#define KV7_ASSERT(expression) \
    ((expression) ? static_cast<void>(0) : AssertionFailed(#expression, ASSERT_UNIT, __LINE__))
