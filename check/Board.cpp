/*
 * The board checks, asked for with /board: they run the maker's libraries and the Quartus
 * programmer the way the tool does, through the tool's own classes, so they fail where the
 * tool would. Nothing is downloaded: the check only asks a board that runs firmware for its
 * name, lists the JTAG chain, and asks the download library for the Quartus version.
 */
#include "check/Checks.h"

#include "base/Fault.h"
#include "base/Paths.h"
#include "base/Trace.h"
#include "board/Board.h"
#include "board/Download.h"
#include "chain/ChainCommand.h"
#include "chain/Jtagbus.h"
#include "base/PathSpelling.h"
#include "inspection/BoardType.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int CABLE_INDEX = 0;
constexpr int32_t PORT_INDEX = 0;
constexpr char READY_BOARD_NAME[] = "KV7_MP";
constexpr char ASK_MAKER[] = "the library's version with the board maker";

std::string Version(double version)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", version);
    return text;
}

std::string Text(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

} // namespace

void CheckQuartusVersion(TReport& report)
{
    const char* CHECK = "Quartus version";
    try {
        TDownload download;
        if (!download.IsLoaded()) {
            report.Fail(CHECK, "the download library did not load", "see PALDRIX_DOWNLOAD.DLL above");
            return;
        }
        const double version = download.QuartusVersion();
        if (version == 0.0)
            report.Warn(CHECK, "the download library finds no Quartus (version 0)",
                        "install Quartus; the tool warns and tries the download all the same");
        else
            report.Ok(CHECK, Version(version) + ", as the download library reports it");
    } catch (const TLibraryFault& fault) {
        report.Fail(CHECK, fault.what(), ASK_MAKER);
    }
}

void CheckChain(TReport& report, const TCheckContext& context)
{
    const char* CHECK = "JTAG chain";
    TJtagBus bus;
    TChainList devices;
    // The detection says why it failed only to the trace; the watch keeps it for this line.
    TTraceWatch watch;
    if (!bus.DetectChain(devices, CABLE_INDEX) || devices.empty()) {
        std::string found = "no device found on cable USB-Blaster[USB-0]";
        for (const std::string& failure : watch.Failures())
            found += "; " + failure;
        // The detection removes its report on every path; one still there is held open by a
        // programmer, this detection's own past its limit or an earlier one's.
        const std::string output = context.TempFolderAnsi + REPORT_FILE_NAME;
        if (!context.TempFolderAnsi.empty() && FileExists(output)) {
            const std::string holders = HoldersOf(output);
            report.Fail(CHECK, found + "; " + REPORT_FILE_NAME + " is held open" +
                                   (holders.empty() ? "" : " by " + holders),
                        END_HELD_PROGRAMMER);
            return;
        }
        report.Fail(CHECK, found,
                    "check the USB cable, the board's power and the USB-Blaster driver; and any FAIL above");
        return;
    }
    const TChainDevice& first = *devices.front();
    const std::string name = Text(first.DeviceName, sizeof first.DeviceName);
    const BoardType type = BoardTypeOfDevice(name);
    const std::string found = std::to_string(devices.size()) + " device(s), the first " +
                              Text(first.Code, sizeof first.Code) + " " + TraceQuote(name);
    if (!SofFileOf(type)) {
        report.Fail(CHECK, found + ": no model of the tool",
                    "make sure this is a KV7 board and nothing else is on its JTAG chain");
        return;
    }
    const std::string needs = found + ": " + BoardTypeLabel(type) + ", which needs " + SofFileOf(type);
    const DWORD attributes = GetFileAttributesW((context.ExeFolder + AsciiWide(SofFileOf(type))).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        report.Fail(CHECK, needs + ", missing", "see the configuration files above");
    else
        report.Ok(CHECK, needs);
}

void CheckFirmware(TReport& report)
{
    const char* CHECK = "Board firmware";
    try {
        TBoard board;
        std::string error;
        if (!board.Connect(error, PORT_INDEX)) {
            report.Fail(CHECK, "the JTAG port did not open: " + error,
                        "check the USB cable and PALDRIX_JTAG.DLL above; close other programs that use the cable");
            return;
        }
        const std::string name = board.QueryBoardName();
        board.Disconnect();
        if (name == READY_BOARD_NAME)
            report.Ok(CHECK, "the board answers " + TraceQuote(name) + ": it runs the test firmware");
        else if (name.empty())
            report.Warn(CHECK, "the board does not answer: not configured yet, or switched off",
                        "nothing to do for a fresh board: the tool downloads its test configuration at the first press");
        else
            report.Warn(CHECK, "the board answers " + TraceQuote(name) + ", not " + READY_BOARD_NAME,
                        "nothing to do: the tool downloads its test configuration at the first press");
    } catch (const TLibraryFault& fault) {
        report.Fail(CHECK, fault.what(), ASK_MAKER);
    }
}
