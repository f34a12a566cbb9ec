/*
 * Commands that read the simulated bench's journal and check what a program left behind on the
 * machine: files, an open JTAG port, libraries it did not free.
 */
#include "Commands.h"
#include "Log.h"

#include "tests/support/Journal.h"
#include "tests/support/TextFiles.h"

#include <algorithm>

// Waits for a journal line from the cursor on and moves the cursor past it: for a step of the
// bench that leaves no trace in the program (the programmer has started, the port opened).
KV7_HANDLER(RunWaitJournal)
{
    size_t end = 0;
    if (!PollUntil(deadline, [&] {
            const std::string journal = ReadText(session.JournalPath());
            const size_t found = journal.find(TextArg(command, 0), session.JournalCursor);
            end = found == std::string::npos ? 0 : std::min(journal.find('\n', found), journal.size() - 1) + 1;
            return found != std::string::npos;
        }))
        throw Failure("no journal line with " + TextArg(command, 0));
    session.JournalCursor = end;
}

KV7_HANDLER(RunSkipJournal)
{
    session.JournalCursor = ReadText(session.JournalPath()).size();
}

// %TEMP%\ stands for the temporary folder the programs inherit, as GetTempPath finds it (TMP
// before TEMP).
KV7_HANDLER(RunExpectNoFile)
{
    constexpr char TEMP_PREFIX[] = "%TEMP%\\";
    std::string path = TextArg(command, 0);
    char temp[MAX_PATH + 1]; // the longest GetTempPath gives
    if (path.rfind(TEMP_PREFIX, 0) == 0) {
        if (!GetTempPathA(sizeof temp, temp))
            throw Failure("no temporary folder");
        path = temp + path.substr(sizeof TEMP_PREFIX - 1);
    }
    path = session.Resolve(path);
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw Failure(path + " is there");
}

// Every handle the JTAG library gave out has been closed again, by any program of the script.
KV7_HANDLER(RunExpectPortClosed)
{
    const std::string handle = PortLeftOpen(ReadText(session.JournalPath())); // no journal: none opened
    if (!handle.empty())
        throw Failure("the JTAG port " + handle + " was opened and never closed");
}

// The current program let go of the library (FreeLibrary) as often as it loaded it, before it
// ended: a library the system unmaps at the process's end does not count.
KV7_HANDLER(RunExpectFreed)
{
    Debuggee::LibraryCounts counts = session.CurrentProgram().Process->Library(TextArg(command, 0));
    LogLine("%s: %s loaded %d time(s), freed %d time(s)", session.Current.c_str(), TextArg(command, 0).c_str(),
            counts.Loads, counts.Unloads);
    if (counts.Unloads != counts.Loads)
        throw Failure(Format("%s was loaded %d time(s) and freed %d time(s)", TextArg(command, 0).c_str(),
                             counts.Loads, counts.Unloads));
}
