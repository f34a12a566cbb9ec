/*
 * The diagnostic trace: one line through OutputDebugStringA for every change the operator can
 * see and for the failures nothing shows. A field engineer reads it with a debug-output
 * viewer; the end-to-end tests read it through their debugger loop.
 */
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every line starts with this, so a viewer can filter the tool's lines from the rest.
inline constexpr char TRACE_PREFIX[] = "KV7: ";

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A failure that nothing on screen explains (why a detection failed, a refused reply, a fault):
// traced like any other line, and kept by every TTraceWatch alive, so that what the operator
// only sees as "Failed to connect FPAG board." can be told with its reason elsewhere.
void TraceFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Keeps the failure lines traced while it lives, without the prefix, in order. Watches nest:
// each one alive keeps every line. The trace is written from the window's one thread; so are
// the watches.
class TTraceWatch {
public:
    TTraceWatch();
    ~TTraceWatch();
    TTraceWatch(const TTraceWatch&) = delete;
    TTraceWatch& operator=(const TTraceWatch&) = delete;

    const std::vector<std::string>& Failures() const { return Lines; }

private:
    friend void TraceFailure(const char* format, ...);
    std::vector<std::string> Lines;
};

// The text in double quotes with C escapes for quotes, backslashes and control bytes, so
// every trace line stays one line.
std::string TraceQuote(std::string_view text);

// "RRGGBB", the way colors appear in trace lines.
std::string TraceColor(unsigned long colorref);
