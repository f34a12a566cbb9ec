// What the board link's component tests share: a bench file of their own in a fresh temporary
// folder (with blanks in its name, as real temporary folders can have), the journal the
// simulated parts write beside it, the simulated JTAG library's call counts, and running a
// probe executable from another folder to see what it printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TTestBench {
public:
    // Writes the bench text and points KV7_BENCH of this process (and its children) at it.
    explicit TTestBench(const std::string& text);
    ~TTestBench();
    TTestBench(const TTestBench&) = delete;
    TTestBench& operator=(const TTestBench&) = delete;

    void Write(const std::string& text);
    std::vector<std::string> Journal() const;
    // The journal lines that start with the prefix.
    std::vector<std::string> JournalLines(const std::string& prefix) const;

    std::string Folder; // ends in a backslash
    std::string Path;
};

// How often the simulated JTAG library loaded in this process was called ("open", "close",
// "write", "read"), or -1 when it is not loaded.
int32_t JtagCallCount(const char* entry);

struct ProbeRun {
    uint32_t ExitCode;
    std::vector<std::string> Lines;
};

// Copies board_probe.exe into the folder, runs it there with the arguments and collects
// its output lines.
ProbeRun RunProbe(const std::string& folder, const std::string& arguments);

// The text of a file that the build placed relative to the test executables.
std::string BuiltFile(const std::string& relativePath);
bool CopyBuiltFile(const std::string& relativePath, const std::string& toFolder);
