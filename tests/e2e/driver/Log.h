/*
 * What the driver did, line by line with the seconds since it started: every command, every
 * trace line of every program it runs, every failure. It goes to standard output (CTest shows
 * it for a failed test) and to the log file. Debugger threads write here too, hence the lock.
 */
#pragma once

#include <string>

void OpenLog(const std::string& path);
// Whether lines also go to standard output (they do unless a tool with its own report says no).
void EchoLog(bool echo);
void CloseLog();

void LogLine(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
