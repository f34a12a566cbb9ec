/*
 * The journal: one line per action of a simulated part, appended to a text file that tests
 * read to see what the program did (the bytes it wrote, the arguments it passed, the folder it
 * called from, the command line it ran).
 */
#pragma once

#include "Bench.h"

#include <cstdint>
#include <string>

namespace sim {

// Appends the line and CR LF, under the bench's mutex: appends from several processes are not
// atomic otherwise.
void JournalLine(const Bench& bench, const std::string& line);

// A byte string as it appears in a journal line: between double quotes, unchanged; "null" for
// an absent string.
std::string Quoted(const char* text);

// Bytes as upper-case hex pairs separated by blanks.
std::string HexBytes(const uint8_t* data, size_t count);

} // namespace sim
