/*
 * The folder where the tool keeps its records of the presses, found as the tool finds it: it
 * exists or can be made, and this account can append to today's file there, or, before the
 * day's first press, make a file there (one of the check's own, removed again).
 */
#include "check/Checks.h"

#include "base/PathSpelling.h"
#include "base/SystemError.h"
#include "inspection/RecordBook.h"
#include "inspection/Station.h"

#include <windows.h>

void CheckRecordsFolder(TReport& report)
{
    const char* CHECK = "Records folder";
    const std::string LET_USERS_WRITE =
        "let the group Users make folders and files under the common application data folder, as Windows does "
        "by default";
    const std::wstring folder = RecordsFolder();
    if (folder.empty()) {
        report.Fail(CHECK, "Windows names no common application data folder", LET_USERS_WRITE);
        return;
    }
    const bool existed = GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (const std::string failure = MakeFolder(folder); !failure.empty()) {
        report.Fail(CHECK, Readable(folder) + " cannot be made: " + failure, LET_USERS_WRITE);
        return;
    }
    const std::string where = Readable(folder) + (existed ? "" : " (made now)");
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::string today = RecordFileName(LocalRecordTime(now), ComputerNameUtf8(), AccountNameUtf8());
    if (UniqueHandle file = OpenRecordFile(folder + Wide(today), OPEN_EXISTING)) {
        report.Ok(CHECK, where + ", this account can append to today's file " + Readable(Wide(today)));
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) {
        report.Warn(CHECK, where + ": today's file " + Readable(Wide(today)) + " is held open by another program",
                    "close it (a spreadsheet locks a file it shows); the tool keeps its records until it can write them");
        return;
    }
    if (error != ERROR_FILE_NOT_FOUND) {
        report.Fail(CHECK, where + ": today's file " + Readable(Wide(today)) + " cannot be appended to: " +
                               SystemErrorText(error),
                    "give this account the right to write the file, or remove it (IT keeps the records)");
        return;
    }
    const std::wstring own = folder + L"KV7Check-" + std::to_wstring(GetCurrentProcessId()) + L".csv";
    if (!OpenRecordFile(own, CREATE_NEW)) {
        report.Fail(CHECK, where + ": no file can be made there: " + SystemErrorText(GetLastError()), LET_USERS_WRITE);
        return;
    }
    DeleteFileW(own.c_str());
    report.Ok(CHECK, where + ", a file made and removed there; today's file " + Readable(Wide(today)) +
                         " comes with the first press");
}
