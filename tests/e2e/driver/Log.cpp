#include "Log.h"

#include "Session.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex Lock;
FILE* File = nullptr;
bool Echo = true;
const ULONGLONG START = GetTickCount64();

std::string FormatList(const char* format, va_list args)
{
    char text[4096];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

} // namespace

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatList(format, args);
    va_end(args);
    return text;
}

void OpenLog(const std::string& path)
{
    std::lock_guard<std::mutex> guard(Lock);
    File = std::fopen(path.c_str(), "w");
}

void EchoLog(bool echo)
{
    std::lock_guard<std::mutex> guard(Lock);
    Echo = echo;
}

void CloseLog()
{
    std::lock_guard<std::mutex> guard(Lock);
    if (File)
        std::fclose(File);
    File = nullptr;
}

void LogLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatList(format, args);
    va_end(args);

    std::lock_guard<std::mutex> guard(Lock);
    const double seconds = (GetTickCount64() - START) / 1000.0; // since the driver started
    for (FILE* out : {Echo ? stdout : nullptr, File}) {
        if (out) {
            std::fprintf(out, "[%7.3f] %s\n", seconds, text.c_str());
            std::fflush(out);
        }
    }
}
