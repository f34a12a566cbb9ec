/*
 * The system beep that a broken board reply sounds. It passes through here so that the trace
 * records it and tests can count it.
 */
#pragma once

#include <functional>

void SystemBeep();

// A test hook: when set it is called instead of the real MessageBeep.
void SetBeepHook(std::function<void()> hook);
