/*
 * The trace lines this process writes meanwhile, taken from the notification OutputDebugStringA
 * raises before a debugger or a viewer would see it; each is also copied to standard error, for
 * a death test's child to hand to its parent.
 */
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // The first line that starts with the text, or "" when none does.
    std::string LineStarting(const std::string& start) const;

private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info);

    static inline TraceCapture* Active = nullptr;
    void* Handler;
    mutable std::mutex Lock;
    std::vector<std::string> Lines;
};
