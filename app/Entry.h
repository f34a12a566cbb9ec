/*
 * The process entry's single-instance guard and top-level exception guard, apart from WinMain
 * so that both can be exercised in a test with a mutex name of its own.
 */
#pragma once

#include <functional>

// The named mutex that marks a running copy of the tool.
inline constexpr char INSTANCE_MUTEX_NAME[] = "Q_MOLV55";
inline constexpr char ALREADY_RUNNING_TEXT[] = "The application is running.";

// Takes the named mutex; if another copy holds it (or it cannot be made) shows the
// information box, otherwise runs the application. Any exception that escapes is shown in the
// application's error box. The mutex is released and closed on every path; returns 0.
int RunSingleInstance(const char* mutexName, const std::function<void()>& application);
