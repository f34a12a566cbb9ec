/*
 * The temporary folder as chain detection uses it, and the two things the tool does there:
 * it makes and removes its batch file and report through the file calls (ANSI spelling), and
 * it has cmd run the batch file, whose line names both paths in ASCII where it can (short
 * names), else in the code page a new console starts in. The folder's probe is a file of the
 * check's own name; the cmd line runs the tool's own KV7_Batch.bat with the tool's redirection
 * into KV7_Output.txt, started by the chain's own code, so that a rule or a policy that stops
 * the tool's batch file stops the check's alike. That line is left out while the tool is open.
 */
#include "check/Checks.h"

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/SystemError.h"
#include "base/Trace.h"
#include "chain/ChainCommand.h"
#include "chain/DetectionFolder.h"
#include "chain/Jtagbus.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <utility>

namespace {

// The tool's own limits for the programmer's run and for its report.
constexpr DWORD COMMAND_LIMIT_MS = 15000;
constexpr DWORD REPORT_LIMIT_MS = 10000;
// The program the batch line runs in the programmer's place: cmd's echo, which writes a known
// text and ends with exit code 0, the programmer's own code for success.
constexpr char ECHOED[] = "KV7Check";

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, WithTrailingBackslash(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Where the folder came from, told by comparing it with what GetTempPathW takes in turn (the
// first of TMP, TEMP, USERPROFILE that is set, else the Windows folder, each made a full path),
// and with the tool's folder, which detection falls back to when the system's name is unusable.
std::string SourceOfTempFolder(const std::wstring& folder)
{
    for (const char* variable : {"TMP", "TEMP", "USERPROFILE"}) {
        wchar_t value[MAX_PATH];
        wchar_t full[MAX_PATH];
        const std::wstring name(variable, variable + std::char_traits<char>::length(variable));
        const DWORD length = GetEnvironmentVariableW(name.c_str(), value, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            continue;
        const DWORD fullLength = GetFullPathNameW(value, MAX_PATH, full, nullptr);
        if (fullLength > 0 && fullLength < MAX_PATH && SameFolder(folder, std::wstring(full, fullLength)))
            return std::string("from ") + variable;
    }
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH && SameFolder(folder, std::wstring(windows, length)))
        return "the Windows folder: neither TMP, TEMP nor USERPROFILE is set";
    if (SameFolder(folder, ExeFolderW()))
        return "the tool's own folder: the system named no temporary folder the tool can use";
    return "as the system names it";
}

// The bytes of a batch line in its code page, as cmd will read them, for a line of the report.
std::string AsCmdReadsIt(const std::string& line, UINT codePage)
{
    const int length = static_cast<int>(line.size());
    std::wstring wide(line.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, line.data(), length, wide.data(), length)));
    return Readable(wide);
}

std::string ReadSmallFile(const std::string& path)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    char bytes[256];
    DWORD read = 0;
    if (!file || !ReadFile(file.Get(), bytes, sizeof bytes, &read, nullptr))
        return "";
    return std::string(bytes, read);
}

// Removes the file if it is there; false when it is there still.
bool Remove(const std::string& path)
{
    if (FileExists(path))
        DeleteFileA(path.c_str());
    return !FileExists(path);
}

// A file of the check's own in the folder, named after this process.
std::string OwnFile(const std::string& folder, const char* extension)
{
    return folder + "KV7Check-" + std::to_string(GetCurrentProcessId()) + extension;
}

// Makes the file with the text and closes it; empty on success, else why not.
std::string MakeFile(const std::string& path, const std::string& text)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return SystemErrorText(GetLastError());
    return written == text.size() ? std::string() : "written short";
}

} // namespace

void CheckTempFolder(TReport& report, TCheckContext& context)
{
    const char* CHECK = "Temporary folder";
    const std::string SET_TEMP = "set TMP and TEMP to a writable folder with a plain name, e.g. C:\\Temp";
    context.TempFolder = DetectionFolder();
    const std::string where = Readable(context.TempFolder) + " (" + SourceOfTempFolder(context.TempFolder) + ")";
    const TSpelledPath spelled = SpellPath(context.TempFolder, AnsiCodePage());
    if (!spelled.Failure.empty()) {
        report.Fail(CHECK, where + " cannot be spelled in code page " + std::to_string(AnsiCodePage()) + ": " +
                               spelled.Failure, SET_TEMP);
        return;
    }
    const std::string probe = OwnFile(spelled.Text, ".tmp");
    if (const std::string failure = MakeFile(probe, "KV7"); !failure.empty()) {
        report.Fail(CHECK, where + ": no file can be made there: " + failure, SET_TEMP);
        return;
    }
    if (!DeleteFileA(probe.c_str())) {
        report.Fail(CHECK, where + ": a file made there cannot be removed: " + SystemErrorText(GetLastError()),
                    SET_TEMP);
        return;
    }
    context.TempFolderAnsi = spelled.Text;
    report.Ok(CHECK, where + ", a file made and removed there");
}

void CheckBatchLine(TReport& report, const TCheckContext& context)
{
    const char* CHECK = "Batch line";
    const UINT codePage = BatchCodePage();
    const std::string inCodePage = " in code page " + std::to_string(codePage);
    const TSpelledPath folder = SpellForBatch(context.TempFolder, codePage);
    if (!folder.Failure.empty()) {
        report.Fail(CHECK, "the temporary folder cannot be spelled" + inCodePage + ": " + folder.Failure,
                    "set TMP and TEMP to a folder with a plain name, e.g. C:\\Temp");
        return;
    }
    const std::string reportPath = folder.Text + REPORT_FILE_NAME;
    if (context.QuartusFolder.empty()) {
        report.Ok(CHECK, "... >  " + AsCmdReadsIt(BatchFileWord(reportPath), codePage) +
                             " (the programmer's part needs the Quartus value)");
        return;
    }
    const std::wstring programmer = ProgrammerPath(context.QuartusFolder);
    const TSpelledPath programmerSpelled = SpellForBatch(programmer, codePage);
    if (!programmerSpelled.Failure.empty()) {
        report.Fail(CHECK, "the programmer " + Readable(programmer) + " cannot be spelled" + inCodePage + ": " +
                               programmerSpelled.Failure,
                    "install Quartus in a folder with a plain name");
        return;
    }
    report.Ok(CHECK, AsCmdReadsIt(BatchLine(programmerSpelled.Text, 0, reportPath), codePage) +
                         " (as cmd reads it in code page " + std::to_string(codePage) + ")");
}

void CheckCommandInterpreter(TReport& report, const TCheckContext& context)
{
    const char* CHECK = "cmd.exe";
    const std::string SEE_TEMP = "see the temporary folder above";
    if (context.TempFolderAnsi.empty()) {
        report.Warn(CHECK, "not tried: no usable temporary folder", SEE_TEMP);
        return;
    }
    const std::string batch = context.TempFolderAnsi + BATCH_FILE_NAME;
    const std::string output = context.TempFolderAnsi + REPORT_FILE_NAME;
    // As detection starts: what an earlier one left goes first; a report that stays is held.
    for (const std::string& leftover : {output, batch}) {
        if (Remove(leftover))
            continue;
        const std::string holders = HoldersOf(leftover);
        report.Fail(CHECK, leftover + " cannot be removed" + (holders.empty() ? "" : ": held by " + holders),
                    holders.empty() ? SEE_TEMP : END_HELD_PROGRAMMER);
        return;
    }
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    const UINT codePage = BatchCodePage();
    const std::wstring interpreterPath = std::wstring(system, length < MAX_PATH ? length : 0) + L"\\cmd.exe";
    const TSpelledPath interpreter = SpellForBatch(interpreterPath, codePage);
    const TSpelledPath folder = SpellForBatch(context.TempFolder, codePage);
    if (!interpreter.Failure.empty() || !folder.Failure.empty()) {
        report.Warn(CHECK, "not tried: " + interpreter.Failure + folder.Failure, "see the batch line above");
        return;
    }
    const std::string line =
        RedirectedLine(interpreter.Text, std::string("/c echo ") + ECHOED, folder.Text + REPORT_FILE_NAME);
    if (const std::string failure = MakeFile(batch, line); !failure.empty()) {
        report.Fail(CHECK, std::string("no ") + BATCH_FILE_NAME + " could be made: " + failure, SEE_TEMP);
        return;
    }
    // Started by detection's own call, so that the check starts it however detection does.
    TTraceWatch watch;
    TJtagBus bus;
    const bool ran = bus.QuartusExecute(CommandLineWord(batch), COMMAND_LIMIT_MS);
    const bool released = ran && bus.WaitFileReady(output, REPORT_LIMIT_MS);
    const std::string echoed = released ? ReadSmallFile(output) : std::string();
    const bool removed = Remove(batch) && Remove(output);
    std::string why;
    for (const std::string& failure : watch.Failures())
        why += "; " + failure;
    const std::string RAN = std::string("ran ") + BATCH_FILE_NAME;
    if (!ran)
        report.Fail(CHECK,
                    std::string("did not run ") + BATCH_FILE_NAME +
                        " from the temporary folder to its exit code 0 within " +
                        std::to_string(COMMAND_LIMIT_MS / 1000) + " s" + why,
                    "make sure no policy disables the command prompt (DisableCMD) and no security software blocks "
                    "batch files in the temporary folder");
    else if (echoed.rfind(ECHOED, 0) != 0)
        report.Fail(CHECK,
                    RAN + ", but its output did not reach " + REPORT_FILE_NAME + " in the temporary folder" + why,
                    "make sure security software lets cmd create files in the temporary folder");
    else if (!removed)
        report.Fail(CHECK, RAN + ", but it or " + REPORT_FILE_NAME + " could not be removed after", SEE_TEMP);
    else
        report.Ok(CHECK, RAN + " from the temporary folder, started as detection starts it, with cmd's own echo in "
                             "the programmer's place: exit code 0, its output in " + REPORT_FILE_NAME +
                             ", both files removed");
}
