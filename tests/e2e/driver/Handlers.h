/*
 * The handlers behind the command table, grouped by what they touch: the desk (files, bench,
 * environment), the programs and their trace, the window, the boxes, the pictures.
 */
#pragma once

#include "Deadline.h"
#include "Script.h"
#include "Session.h"
#include "WindowQuery.h"

#define KV7_HANDLER(name)                                                                            \
    void name([[maybe_unused]] Session& session, [[maybe_unused]] const Command& command,                  \
              [[maybe_unused]] const Deadline& deadline)

// The control in the current program's main window, waited for until the deadline.
HWND Control(Session& session, const ControlRef& ref, const Deadline& deadline);

// Starts a program as a debuggee under the alias and makes it the current one.
void StartProgram(Session& session, const std::string& alias, const StartRequest& request);

// Desk
KV7_HANDLER(RunStage);
KV7_HANDLER(RunBench);
KV7_HANDLER(RunEnv);

// Programs
KV7_HANDLER(RunStart);
KV7_HANDLER(RunUse);
KV7_HANDLER(RunExpectRunning);
KV7_HANDLER(RunWaitExit);

// Trace
KV7_HANDLER(RunWaitTrace);
KV7_HANDLER(RunWaitTracePattern);
KV7_HANDLER(RunExpectTrace);
KV7_HANDLER(RunExpectNextTrace);
KV7_HANDLER(RunExpectNoTrace);

// Window
KV7_HANDLER(RunExpectWindow);
KV7_HANDLER(RunExpectNoWindow);
KV7_HANDLER(RunClick);
KV7_HANDLER(RunExpectText);
KV7_HANDLER(RunExpectVisible);
KV7_HANDLER(RunExpectEnabled);
KV7_HANDLER(RunExpectRect);
KV7_HANDLER(RunHover);
KV7_HANDLER(RunHoverAt);
KV7_HANDLER(RunWaitHint);
KV7_HANDLER(RunClose);

// Real input, closing, the session
KV7_HANDLER(RunPress);
KV7_HANDLER(RunKeys);
KV7_HANDLER(RunCloseBy);

// Journal and leftovers
KV7_HANDLER(RunWaitJournal);
KV7_HANDLER(RunSkipJournal);
KV7_HANDLER(RunExpectNoFile);
KV7_HANDLER(RunExpectPortClosed);
KV7_HANDLER(RunExpectFreed);

// Boxes
KV7_HANDLER(RunExpectBox);
KV7_HANDLER(RunExpectNoBox);

// Pictures
KV7_HANDLER(RunExpectPixel);
KV7_HANDLER(RunExpectColorIn);
KV7_HANDLER(RunExpectNoColorIn);
KV7_HANDLER(RunScreenshot);

// The simulated bench's window
KV7_HANDLER(RunStartBench);
KV7_HANDLER(RunChoose);
KV7_HANDLER(RunExpectBench);
