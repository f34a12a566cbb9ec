// Running board_probe from a folder of the test's choosing, with or without the maker's
// libraries beside it, to see what it printed and how it ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProbeRun {
    uint32_t ExitCode;
    std::vector<std::string> Lines;
};

// Copies board_probe.exe into the folder, runs it there with the arguments and collects
// its output lines.
ProbeRun RunProbe(const std::string& folder, const std::string& arguments);
