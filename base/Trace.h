/*
 * The diagnostic trace: one line through OutputDebugStringA for every change the operator can
 * see and for the failures nothing shows. A field engineer reads it with a debug-output
 * viewer; the end-to-end tests read it through their debugger loop.
 */
#pragma once

#include <string>
#include <string_view>

// Every line starts with this, so a viewer can filter the tool's lines from the rest.
inline constexpr char TRACE_PREFIX[] = "KV7: ";

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text in double quotes with C escapes for quotes, backslashes and control bytes, so
// every trace line stays one line.
std::string TraceQuote(std::string_view text);

// "RRGGBB", the way colors appear in trace lines.
std::string TraceColor(unsigned long colorref);
