/*
 * The book of press records: one line per press, appended to the day's file of this PC and
 * account in a folder every operator account can write and IT can read. The program only ever
 * appends to it and never reads it back, so nothing the program does depends on it.
 *
 * A record must neither change a verdict nor hold up a press. A file a spreadsheet holds open
 * (it locks a CSV it shows), a full disk or a folder that cannot be written keeps the lines in
 * memory: they are written with the next press's line, or at the close. The operator is told
 * once, in an information box, which folder cannot be written; the trace says why at every
 * try, and at the close gives every line still not written, in full.
 *
 * Trace lines:  records not written to <file>: <why> (<n> kept)
 *               record not written: <line>    (a long one goes on in "record not written, continued: ...")
 */
#pragma once

#include "base/Handles.h"
#include "inspection/PressRecord.h"

#include <windows.h>

#include <string>
#include <vector>

// <common application data>\KV7Inspect\Records\: under ProgramData every account may make
// files and folders, and whoever makes one owns it, so each account writes files of its own
// there. Empty when Windows names no such folder.
std::wstring RecordsFolder();

// Makes the folder and the missing ones above it; "" when it exists afterwards, else why not.
std::string MakeFolder(const std::wstring& folder);

// A record file opened to append to, with the sharing that lets a second copy of the tool (in
// another session of the same account) append too and a reader read it meanwhile.
UniqueHandle OpenRecordFile(const std::wstring& path, DWORD disposition);

class TRecordBook {
public:
    explicit TRecordBook(std::wstring folder);

    // Writes the record's line after those kept from earlier tries, each file's lines whole
    // and flushed; what cannot be written is kept.
    void Add(const TPressRecord& record);
    // A last try, then every line still kept traced in full.
    void Close();

    size_t KeptLines() const { return Kept.size(); }

private:
    struct TKept {
        std::wstring File;
        std::string Line; // with its CR LF
    };
    // Tries to write every kept line; the first failure's reason, or "".
    std::string WriteKept();

    std::wstring Where;
    std::vector<TKept> Kept;
    bool Told = false;
};
