/*
 * The simulated bench's journal as the tests and the UI driver read it: one CR LF line per act
 * of a simulated part ("jtag open handle=7", "jtag close handle=7 result=1", ...).
 */
#pragma once

#include <string>
#include <vector>

// The journal's lines without their CR LF; one that lacks it ends in "<no CR LF>" instead.
std::vector<std::string> JournalLines(const std::string& journal);

// The handle of a JTAG port the journal shows opened and never closed again ("" when every
// open has its successful close).
std::string PortLeftOpen(const std::string& journal);
