/*
 * The bench window's side of the bench file and the journal: it reads both as they are now and
 * changes keys of the file, always under the bench's mutex, so a simulated part never reads a
 * half-written file and a part's own write (configured = yes) is never lost to the window's.
 */
#pragma once

#include "BenchCheck.h"

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct BenchState {
    bool Exists = false;   // a missing file is the default desk, and the first click makes it
    bool Opened = true;    // false: the file is there but cannot be read
    std::string Text;
    BenchText Reading;
};

BenchState ReadBenchState(const std::string& path);

using BenchChanges = std::vector<std::pair<std::string, std::string>>;

// Applies the changes to the file as it is at this moment, in one write. Nothing is written
// when the file does not read; `state` then tells why. `state` is the file afterwards.
bool ChangeBench(const std::string& path, const BenchChanges& changes, BenchState& state);

// The last lines of the journal, read on from where the last look stopped.
class JournalTail {
public:
    explicit JournalTail(size_t keep) : Keep(keep) {}
    // True when lines came or went.
    bool Poll(const std::string& path);
    std::string Text() const; // CR LF between lines

private:
    size_t Keep;
    std::string Path;
    uint64_t Offset = 0;
    std::string Partial;
    std::deque<std::string> Lines;
};

// The journal's path for the bench file: its `journal` key, else the path with ".journal".
std::string JournalPathOf(const std::string& benchPath, const BenchText& reading);

} // namespace sim
