/*
 * KV7Check.exe: is this PC ready for KV7Inspect.exe? The passive checks run none of the
 * maker's code and change nothing; /board adds the checks that talk to the board.
 *
 *   KV7Check.exe [/board]
 */
#include "check/Checks.h"
#include "check/Console.h"

#include "KV7Version.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

int Run(bool board)
{
    WriteLine(std::string("KV7Check ") + KV7_VERSION_TEXT + ": is this PC ready for KV7Inspect.exe?" +
              (board ? "" : " (add /board to check the board too)"));
    TReport report;
    TCheckContext context;
    // In the order the tool needs them: a press first opens the JTAG link and asks the board
    // for its name, then bring-up detects the chain through cmd and the programmer, then
    // downloads the configuration.
    CheckWindows(report);
    CheckCodePages(report);
    CheckAccount(report);
    // Before anything that touches the tool's files or its board.
    const bool toolRunning = CheckRunningTool(report);
    CheckToolFolder(report, context);
    CheckJtagLibrary(report, context);
    CheckQuartusValue(report, context);
    CheckProgrammer(report, context);
    CheckTempFolder(report, context);
    CheckBatchLine(report, context);
    if (!toolRunning)
        CheckCommandInterpreter(report, context);
    CheckDownloadLibrary(report, context);
    CheckConfigurations(report, context);
    CheckRecordsFolder(report);
    if (board && !toolRunning) {
        CheckFirmware(report);
        CheckChain(report, context);
        CheckQuartusVersion(report);
    }
    return report.Finish();
}

} // namespace

int main(int argc, char** argv)
{
    bool board = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::transform(argument.begin(), argument.end(), argument.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (argument == "/board" || argument == "-board") {
            board = true;
        } else {
            WriteLine("usage: KV7Check.exe [/board]");
            return argument == "/?" ? 0 : 1;
        }
    }
    const int failures = Run(board);
    if (OwnsVisibleConsole()) {
        WriteLine("Press any key to close this window.");
        WaitForKey();
    }
    return failures;
}
