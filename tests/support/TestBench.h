/*
 * A bench of a test's own: the bench file in a fresh temporary folder, KV7_BENCH of this
 * process (and so of every program it starts) pointing at it, and the journal the simulated
 * parts write beside it. When the bench goes, the current directory is put back, KV7_BENCH
 * cleared and the folder removed with all it holds.
 */
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TestBench {
    TempFolder Temp; // made first, removed last

public:
    // Writes the bench text at once. Without one there is no bench file until Write, and the
    // simulated parts take their defaults. The folder's name has a blank unless told otherwise.
    explicit TestBench(const std::optional<std::string>& text, const std::string& folderName = "kv7 bench");
    ~TestBench();
    TestBench(const TestBench&) = delete;
    TestBench& operator=(const TestBench&) = delete;

    void Write(const std::string& text) const;
    std::string Text() const;

    std::string JournalText() const; // "" when nothing was journalled
    // The journal's lines without their CR LF; one that lacks it ends in "<no CR LF>" instead.
    std::vector<std::string> Journal() const;
    std::vector<std::string> JournalLines(const std::string& prefix) const; // those that start so
    // The requests the JTAG library was handed, as the journal writes them: "AA 00 00 00 00 55".
    std::vector<std::string> JtagWrites() const;

    const std::string Folder; // ends in a backslash
    const std::string Path;   // the bench file

private:
    std::string SavedDirectory;
};

// The process's current directory as Windows gives it: no trailing backslash but at a root.
std::string CurrentDirectory();

// The board name request, the one request every exchange with the test firmware starts with.
inline constexpr uint8_t NAME_REQUEST[] = {0xAA, 0x00, 0x00, 0x00, 0x00, 0x55};

// How often the simulated JTAG library loaded in this process was called ("open", "close",
// "write", "read"), or -1 when it is not loaded.
int32_t JtagCallCount(const char* entry);
