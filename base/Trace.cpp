/*
 * Trace lines are short and formatted on the stack; anything longer is cut rather than
 * allocated, because tracing must never be what fails.
 */
#include "Trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

void Trace(const char* format, ...)
{
    char line[2048];
    int used = std::snprintf(line, sizeof line, "%s", TRACE_PREFIX);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line + used, sizeof line - used - 1, format, args);
    va_end(args);
    size_t length = std::char_traits<char>::length(line);
    line[length] = '\n';
    line[length + 1] = '\0';
    OutputDebugStringA(line);
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
