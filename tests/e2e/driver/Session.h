/*
 * The state of one script run: where things are, the programs it started (each with its own
 * place in its trace) and the bench it prepares for them. A command that fails throws Failure;
 * the runner reports it with the script line, ends every program and exits non-zero.
 */
#pragma once

#include "Deadline.h"
#include "Debuggee.h"

#include <windows.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// A path of a script or the command line with Windows's separators.
std::string Backslashed(std::string path);

struct Program {
    std::unique_ptr<Debuggee> Process;
    size_t Cursor = 0; // trace lines before this one have been consumed by the script
};

struct Session {
    std::string BinFolder;   // the driver's folder: the program and the simulated bench
    std::string WorkFolder;  // fresh for every run; relative paths resolve here
    std::string OutFolder;   // pictures the script writes
    std::string Desktop;     // run the programs on this desktop (empty: the driver's own)
    double TimeoutSeconds = 20;

    std::map<std::string, Program> Programs; // by alias
    std::string Current;
    size_t JournalCursor = 0; // bytes of the bench's journal that journal waits have passed

    ~Session();

    Program& CurrentProgram();
    // A script's path against `base` (the work folder unless told) when relative.
    std::string Resolve(const std::string& path, const std::string& base = "") const;
    std::string BenchPath() const { return WorkFolder + "bench.ini"; }
    std::string JournalPath() const { return BenchPath() + ".journal"; } // the simulated bench's

    HWND MainWindow(const Deadline& deadline);

    // Terminates what still runs; true when something did.
    bool Cleanup();
};
