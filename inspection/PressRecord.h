/*
 * The record of one press as a line of the day's CSV file: what was pressed, when, on which
 * PC by which account, how it ended and why. Spreadsheets read the file as RFC 4180 says: a
 * header line, fields with a comma, a quote or a line break in double quotes (the quotes
 * doubled), CR LF line ends. Every text here is UTF-8; the file starts with a byte-order mark,
 * so an account or a computer named in any language reads right.
 *
 * windows.h-free: the PC's clock, names and code page are handed in.
 */
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A local time and the offset of local time from UTC at that moment, in minutes (east plus).
struct TRecordTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    int UtcOffsetMinutes = 0;
};

struct TPressRecord {
    TRecordTime Start;
    uint32_t Ms = 0; // the run's length
    std::string Computer, Account, Version;
    char Connector = '?';   // A to D
    std::string Outcome;     // PASS, NG, NOT READY or STOPPED
    std::string FaultyPairs; // for NG: "017-018 051-052", as the memo lists them
    std::string IdCode, Device, Model; // the chain's first device and the model it means, when known
    std::string Board;       // how the press got its board: brought up, reused, connected; "" for none
    std::string Status;      // the last status text the operator saw
    std::string Failure;     // where the run did not pass: the reasons the trace gave
};

inline constexpr char RECORD_HEADER[] =
    "start,ms,computer,account,version,connector,outcome,faulty_pairs,idcode,device,model,board,status,failure";

// 2026-12-09T18:32:30+01:00
std::string IsoTime(const TRecordTime& time);

// The field as a spreadsheet reads it back: as it is, or in double quotes where it holds a
// comma, a quote or a line break.
std::string CsvField(std::string_view text);

// The record's line, without its line end.
std::string RecordLine(const TPressRecord& record);

// The file a record goes to, by its day, the PC and the account: "2026-12-09 STATION4 op.csv".
// Each account writes files of its own, as an account cannot append to another's; with the
// PC's name in it, the files of many PCs can be gathered into one folder as they are. Letters
// a file name cannot hold become '_'.
std::string RecordFileName(const TRecordTime& day, std::string_view computer, std::string_view account);
