/*
 * The temporary folder as chain detection uses it, and the two things the tool does there:
 * it makes and removes its batch file and report through the file calls (ANSI spelling), and
 * it has cmd run the batch file, whose line names both paths in ASCII where it can (short
 * names), else in the code page a new console starts in. The check makes
 * and removes files of its own name there, never the tool's, so a tool running meanwhile is
 * not disturbed.
 */
#include "check/Checks.h"

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/SystemError.h"
#include "chain/ChainCommand.h"
#include "chain/DetectionFolder.h"
#include "chain/Jtagbus.h"
#include "base/PathSpelling.h"

#include <windows.h>

#include <utility>

namespace {

// The tool's own limit for the programmer's run.
constexpr DWORD COMMAND_LIMIT_MS = 15000;
constexpr char COMMAND_EXIT_ZERO[] = "exit 0";

// Where GetTempPathW took the folder from: the first of these that is set.
std::string SourceOfTempFolder()
{
    const std::pair<const wchar_t*, const char*> variables[] = {
        {L"TMP", "TMP"}, {L"TEMP", "TEMP"}, {L"USERPROFILE", "USERPROFILE"}};
    for (const auto& [variable, name] : variables) {
        if (GetEnvironmentVariableW(variable, nullptr, 0) > 1)
            return name;
    }
    return "the Windows folder";
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
    const std::string where = Readable(context.TempFolder) + " (from " + SourceOfTempFolder() + ")";
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
        report.Ok(CHECK, "... >  " + BatchFileWord(reportPath) + " (the programmer's part needs the Quartus value)");
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
    report.Ok(CHECK, BatchLine(programmerSpelled.Text, 0, reportPath));
}

void CheckCommandInterpreter(TReport& report, const TCheckContext& context)
{
    const char* CHECK = "cmd.exe";
    if (context.TempFolderAnsi.empty()) {
        report.Warn(CHECK, "not tried: no usable temporary folder", "see the temporary folder above");
        return;
    }
    const std::string batch = OwnFile(context.TempFolderAnsi, ".bat");
    if (const std::string failure = MakeFile(batch, COMMAND_EXIT_ZERO); !failure.empty()) {
        report.Fail(CHECK, "no batch file could be made: " + failure, "see the temporary folder above");
        return;
    }
    // Started as the tool starts its batch file: hidden, in a console of its own, the path as
    // the whole command line.
    TJtagBus bus;
    const bool ran = bus.QuartusExecute(CommandLineWord(batch), COMMAND_LIMIT_MS);
    DeleteFileA(batch.c_str());
    if (ran)
        report.Ok(CHECK, "ran a one-line batch file from the temporary folder, hidden, and returned its exit code 0");
    else
        report.Fail(CHECK, "did not run a one-line batch file from the temporary folder to its exit code 0 within " +
                               std::to_string(COMMAND_LIMIT_MS / 1000) + " s",
                    "make sure no policy disables the command prompt (DisableCMD) and no security software "
                    "blocks batch files in the temporary folder");
}
