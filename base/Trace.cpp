/*
 * Trace lines are short and formatted on the stack; anything longer is cut rather than
 * allocated, because tracing must never be what fails.
 */
#include "Trace.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr size_t LINE_SIZE = 2048;

std::vector<TTraceWatch*>& Watches()
{
    static std::vector<TTraceWatch*> watches;
    return watches;
}

// Formats after the prefix and sends the line; returns where the text after the prefix begins.
const char* Emit(char (&line)[LINE_SIZE], const char* format, va_list args)
{
    const int used = std::snprintf(line, sizeof line, "%s", TRACE_PREFIX);
    std::vsnprintf(line + used, sizeof line - used - 1, format, args);
    const size_t length = std::char_traits<char>::length(line);
    line[length] = '\n';
    line[length + 1] = '\0';
    OutputDebugStringA(line);
    line[length] = '\0';
    return line + used;
}

} // namespace

void Trace(const char* format, ...)
{
    char line[LINE_SIZE];
    va_list args;
    va_start(args, format);
    Emit(line, format, args);
    va_end(args);
}

void TraceFailure(const char* format, ...)
{
    char line[LINE_SIZE];
    va_list args;
    va_start(args, format);
    const char* text = Emit(line, format, args);
    va_end(args);
    for (TTraceWatch* watch : Watches())
        watch->Lines.emplace_back(text);
}

TTraceWatch::TTraceWatch() { Watches().push_back(this); }

TTraceWatch::~TTraceWatch()
{
    std::vector<TTraceWatch*>& watches = Watches();
    watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
}

std::string TraceQuote(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

std::string TraceColor(unsigned long colorref)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", static_cast<unsigned>(GetRValue(colorref)),
                  static_cast<unsigned>(GetGValue(colorref)), static_cast<unsigned>(GetBValue(colorref)));
    return text;
}
