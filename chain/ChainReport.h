/*
 * The rules by which the program understands the programmer's report, apart from the file
 * that holds it: where the device block of one cable starts and ends, and how the block splits
 * into devices. Free of windows.h; TJtagBus reads the file and hands its text here.
 */
#pragma once

#include "chain/ChainDevice.h"

#include <optional>
#include <string>
#include <string_view>

// Written by the programmer when the chain cannot be read (and it may still exit with 0).
inline constexpr char REPORT_FAILURE_LINE[] = "Unable to read device chain";

// The line after the last device line: an empty line, then the banner.
inline constexpr char REPORT_END_MARKER[] = "\r\n\r\nInfo: **********";

// The cable's name as the report spells it (with a blank before "["), its line end and the
// indentation of the first device line.
std::string ReportCableHeader(int cable);

// The device block of the cable, or nothing when the report does not list the cable in the
// expected shape or says the chain could not be read.
std::optional<std::string_view> FindDeviceBlock(std::string_view report, int cable);

// Splits a device block into entries appended to list: fields separated by runs of blanks,
// taken in pairs of code and device name. True when it split into complete pairs of fields
// that fit their records; a code without its name leaves list empty.
bool ParseDeviceBlock(TChainList& list, std::string_view block);

// The whole reading of a report's text: true when the cable's block yielded at least one
// device, appended to list.
bool ReadChainReport(TChainList& list, std::string_view report, int cable);
