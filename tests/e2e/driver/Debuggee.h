/*
 * One program started by the driver, run as a debuggee so that its diagnostic trace (the lines
 * it writes with OutputDebugStringA) reaches the driver directly: every program has its own
 * debugger loop, so several programs never compete for one system-wide debug buffer.
 *
 * A dedicated thread creates the process and runs the debug loop: the system delivers debug
 * events only to the thread that created the debuggee. Lines starting "KV7: " are kept, without
 * that prefix, for the script to wait for; everything the program writes goes to the log.
 */
#pragma once

#include "Deadline.h"

#include "tests/support/ChildProcess.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct StartRequest {
    std::string Executable;   // full path
    std::string Folder;       // working folder
    std::string Desktop;      // desktop to run on; empty for the driver's own
};

class Debuggee {
public:
    explicit Debuggee(std::string alias);
    ~Debuggee(); // a program still running is terminated: a failed script never leaves one behind
    Debuggee(const Debuggee&) = delete;
    Debuggee& operator=(const Debuggee&) = delete;

    bool Start(const StartRequest& request, std::string& error);

    DWORD ProcessId() const { return Child->Id(); }
    HANDLE Process() const { return Child->Handle(); }

    // The trace so far; index i stays valid as lines come in.
    size_t LineCount();
    std::string LineAt(size_t index);
    // When the driver received line i, for measurements.
    Deadline::Clock::time_point LineTime(size_t index);
    Deadline::Clock::time_point StartTime() const { return Created; }

    // Blocks until at least `count` lines exist, the program has ended or the deadline passes.
    // True when the lines are there.
    bool WaitForLines(size_t count, const Deadline& deadline);

    bool HasExited();
    DWORD ExitCode();
    bool WaitForExit(const Deadline& deadline);

    // Ends the program at once (exit code 1) and waits for its debug loop to see it go.
    void Terminate();

    // How often a library (file name, upper case) was mapped into the program and let go
    // again, from its load and unload events. A library still mapped when the program ends is
    // not counted as let go: the system unmaps it without an unload event.
    struct LibraryCounts {
        int Loads = 0;
        int Unloads = 0;
    };
    LibraryCounts Library(const std::string& fileName);

private:
    template <typename Read>
    auto Locked(Read read)
    {
        std::lock_guard<std::mutex> guard(Lock);
        return read();
    }
    void Run(StartRequest request);
    void HandleOutput(const OUTPUT_DEBUG_STRING_INFO& info);
    void AddText(const std::string& text);
    void Finish(DWORD code);

    std::string Name;
    std::thread Thread;
    std::mutex Lock;
    std::condition_variable Changed;
    std::unique_ptr<ChildProcess> Child; // set by the debug thread once it tried to start it
    bool Exited = false;
    bool StopRequested = false;
    DWORD Code = 0;
    std::string Pending; // text of a line not yet ended
    struct Line {
        std::string Text;
        Deadline::Clock::time_point When; // received
    };
    std::vector<Line> Lines;
    Deadline::Clock::time_point Created;
    std::map<std::uintptr_t, std::string> Mapped; // base address -> library file name
    std::map<std::string, LibraryCounts> Libraries;
};
