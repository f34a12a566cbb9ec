/*
 * The detection as a whole: temporary files in the temporary folder, the programmer found
 * through the registry, one batch line that runs it with its output redirected, the waits,
 * the report, and the temporary files removed on every path. No box is shown here: the caller
 * learns true or false, and the reason of a failure goes to the diagnostic trace (the report
 * reading shows its own box for a report file that cannot be opened or read).
 */
#include "chain/Jtagbus.h"

#include "chain/ChainCommand.h"
#include "chain/DetectionFolder.h"

#include "base/Handles.h"
#include "base/PathSpelling.h"
#include "base/Paths.h"
#include "base/SessionEnd.h"
#include "base/SystemError.h"
#include "base/Trace.h"

#include <windows.h>

#include <string>

namespace {

constexpr DWORD SETTLE_BEFORE_BATCH_MS = 200;
constexpr DWORD PROGRAMMER_TIMEOUT_MS = 15000;
constexpr DWORD SETTLE_AFTER_RUN_MS = 200;
constexpr DWORD REPORT_TIMEOUT_MS = 10000;

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteIfPresent(const std::string& path)
{
    if (FileExists(path))
        DeleteFileA(path.c_str());
}

std::string BatchFileFailure(const std::string& why)
{
    return std::string("failed to create file ") + BATCH_FILE_NAME + ".\n[" + why + "]";
}

// A path that has no spelling for one of its readers: no batch file can name it.
std::string UnspellableFailure(const std::wstring& path, const std::string& why)
{
    return BatchFileFailure(Readable(path) + ": " + why);
}

// Writes the line and nothing else: no line end, no terminating zero. Empty on success,
// otherwise the failure's description.
std::string WriteBatchFile(const std::string& path, const std::string& line)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return BatchFileFailure(SystemErrorText(GetLastError()));
    DWORD written = 0;
    if (!WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return BatchFileFailure(SystemErrorText(GetLastError()));
    if (written != line.size())
        return "Failed to create batch file \"" + path + "\".";
    return std::string();
}

// Removes both temporary files however the detection ends.
class TTempFilesCleanup {
public:
    TTempFilesCleanup(const std::string& batch, const std::string& report) : Batch(batch), Report(report) {}
    ~TTempFilesCleanup() { RemoveNow(); }
    void RemoveNow()
    {
        DeleteIfPresent(Batch);
        DeleteIfPresent(Report);
    }
    TTempFilesCleanup(const TTempFilesCleanup&) = delete;
    TTempFilesCleanup& operator=(const TTempFilesCleanup&) = delete;

private:
    const std::string& Batch;
    const std::string& Report;
};

} // namespace

bool TJtagBus::DetectChain(TChainList& list, int cable)
{
    auto fail = [](const std::string& description) {
        TraceFailure("chain detection failed: %s", TraceQuote(description).c_str());
        return false;
    };

    // The file calls below and the command line take the ANSI code page; where it lacks a
    // letter of the folder, the folder goes by its short name, and without one nothing is
    // written anywhere (another folder would do no better).
    const std::wstring folder = DetectionFolder();
    const TSpelledPath ansiFolder = SpellPath(folder, AnsiCodePage());
    if (!ansiFolder.Failure.empty())
        return fail(UnspellableFailure(folder, ansiFolder.Failure));
    const std::string batchPath = ansiFolder.Text + BATCH_FILE_NAME;
    const std::string reportPath = ansiFolder.Text + REPORT_FILE_NAME;
    TTempFilesCleanup cleanup(batchPath, reportPath);
    TSessionEndRelease removeAtSessionEnd([&cleanup] { cleanup.RemoveNow(); });

    const std::wstring quartus = GetQuartusInstallDir();
    if (quartus.empty())
        return fail("Please make sure Quartus is installed.");
    const std::wstring programmer = ProgrammerPath(quartus);
    if (!IsFile(programmer))
        return fail("Fail to find the download tool(" + Readable(programmer) + ").");

    // Leftovers of a detection whose programmer outlived it go before anything is written. A
    // report still there then is held by that programmer, and this detection ends here: cmd opens
    // a ">" file shared for reading, not writing, so this run's ">" onto it would fail, cmd would
    // still end with code 0 (a failed redirection sets no ERRORLEVEL) having started nothing, and
    // the report read after the wait would be the other programmer's. Windows refuses the delete
    // while the holder does not share deleting. Wine's cmd shares it, and the delete leaves the
    // name until the holder closes (delete pending), as Windows does without POSIX deletes; with
    // them (Windows 10 on NTFS) the name goes at once, and the next report is a new file.
    DeleteIfPresent(reportPath);
    DeleteIfPresent(batchPath);
    if (FileExists(reportPath))
        return fail(std::string(REPORT_FILE_NAME) + " is still held by the programmer of an earlier detection");
    Sleep(SETTLE_BEFORE_BATCH_MS);

    // The batch line spelled so that cmd reads both paths as the folders named above, whatever
    // code page its console starts in: in ASCII (short names) where it can be, else in the
    // code page a new console starts in. The report does not exist yet: its folder has the
    // short name.
    const UINT batchCodePage = BatchCodePage();
    const TSpelledPath programmerInBatch = SpellForBatch(programmer, batchCodePage);
    if (!programmerInBatch.Failure.empty())
        return fail(UnspellableFailure(programmer, programmerInBatch.Failure));
    const TSpelledPath folderInBatch = SpellForBatch(folder, batchCodePage);
    if (!folderInBatch.Failure.empty())
        return fail(UnspellableFailure(folder, folderInBatch.Failure));
    const std::string failure =
        WriteBatchFile(batchPath, BatchLine(programmerInBatch.Text, cable, folderInBatch.Text + REPORT_FILE_NAME));
    if (!failure.empty())
        return fail(failure);

    const DWORD runStart = GetTickCount();
    if (!QuartusExecute(CommandLineWord(batchPath), PROGRAMMER_TIMEOUT_MS))
        return fail("quartus_prm fail(" + std::to_string((GetTickCount() - runStart) / 1000) + " sec)");

    DelayWithMessages(SETTLE_AFTER_RUN_MS);
    if (!WaitFileReady(reportPath, REPORT_TIMEOUT_MS) || !FileExists(reportPath))
        return fail("Failed to detect device type.");
    if (!LoadChainReport(list, reportPath, cable))
        return fail("Fail to parsing device list file.");
    Trace("chain detection found %u device(s)", static_cast<unsigned>(list.size()));
    return true;
}
