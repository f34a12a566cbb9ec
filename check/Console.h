/*
 * The check's output and its window. An IT person runs it from a prompt, from a deployment
 * script with its output redirected, or by double-clicking it in Explorer; only in the last
 * case is the console window its own, and it would vanish with the verdict unread.
 */
#pragma once

#include <string>

// Writes one line of text in the ANSI code page, the program's own: to a console as UTF-16
// (the console would read bytes in its own code page and misspell every accented folder), to a
// pipe or file as the bytes they are.
void WriteLine(const std::string& line);

// True when the console was made for this process alone (it was double-clicked), it has a window
// someone can see, and both its input and output are that console: the window closes with the
// process, so the check waits. Task Scheduler, a deployment agent or a launcher may give it a
// console of its own without a window, or a hidden one: nobody could answer there, and the exit
// code must come.
bool OwnsVisibleConsole();

// Waits for a key in the console.
void WaitForKey();
