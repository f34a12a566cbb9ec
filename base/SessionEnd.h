/*
 * What must be given back even when the user's session ends in the middle of a run. Once the
 * main window has answered WM_ENDSESSION, the system may end the process at any moment without
 * unwinding the run, so destructors cannot be trusted then: the JTAG port would stay open, a
 * maker library loaded, the programmer running and its temporary files in the folder. Each
 * holder a run keeps on its stack says here how to let go, for as long as it holds; the window
 * runs all of them before it answers.
 */
#pragma once

#include <functional>

class TSessionEndRelease {
public:
    explicit TSessionEndRelease(std::function<void()> release);
    ~TSessionEndRelease();
    TSessionEndRelease(const TSessionEndRelease&) = delete;
    TSessionEndRelease& operator=(const TSessionEndRelease&) = delete;

    // Lets go now, once; later calls (the holder's own destructor) do nothing.
    void ReleaseNow();

private:
    std::function<void()> Release;
};

// Runs every registered release once, the latest first: inner holders before outer ones, so
// the programmer is ended before its files are removed.
void ReleaseForSessionEnd();
