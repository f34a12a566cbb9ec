#include "Log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex Lock;
FILE* File = nullptr;
bool Echo = true;
const ULONGLONG START = GetTickCount64();

// Seconds since the driver started.
double Elapsed() { return (GetTickCount64() - START) / 1000.0; }

} // namespace

void OpenLog(const std::string& path)
{
    std::lock_guard<std::mutex> guard(Lock);
    if (File)
        std::fclose(File);
    File = path.empty() ? nullptr : std::fopen(path.c_str(), "w");
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
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);

    std::lock_guard<std::mutex> guard(Lock);
    double seconds = Elapsed();
    if (Echo) {
        std::printf("[%7.3f] %s\n", seconds, text);
        std::fflush(stdout);
    }
    if (File) {
        std::fprintf(File, "[%7.3f] %s\n", seconds, text);
        std::fflush(File);
    }
}
