/*
 * The board maker's download library, simulated. It exports all sixteen entry points of the
 * real one; two do something: the Quartus version, and the download of a configuration file,
 * which configures the simulated FPGA only when the board could really take that file.
 */
#include "Bench.h"
#include "Files.h"
#include "Hold.h"
#include "Journal.h"
#include "SofFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using namespace sim;

// Why a download did not configure the FPGA, or nullptr when it did.
const char* Refusal(const Bench& bench, const char* sofPath)
{
    if (!bench.Powered)
        return "off";
    if (!bench.Cable)
        return "no-cable";
    if (bench.DownloadFails)
        return "fails";
    std::string text;
    if (!sofPath || !ReadWholeFile(sofPath, text))
        return "no-file";
    SofFile sof;
    if (!ParseSof(text, sof))
        return "not-sof";
    if (bench.Chain.empty())
        return "no-chain";
    if (std::find(sof.Fits.begin(), sof.Fits.end(), bench.Chain.front().Name) == sof.Fits.end())
        return "not-fitting";
    return nullptr;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

extern "C" {

double __stdcall PALDRIX_GetQuatusVersion(void)
{
    const Bench bench = LoadBench();
    FaultIfAsked(bench, FaultEntry::Version);
    JournalLine(bench, "download version result=" + Number(bench.QuartusVersion));
    return bench.QuartusVersion;
}

// The flags are read as the single bytes they are, so the journal shows exactly what arrived.
// The answer is the whole of EAX: 1 or 0, or the bench's download_result as it stands.
uint32_t __stdcall PALDRIX_JtagDownload(const char* sofPath, int32_t arg2, uint8_t arg3, int32_t arg4,
                                    int32_t arg5, uint8_t arg6, uint8_t arg7)
{
    Sleep(LoadBench().DownloadMs);
    const Bench bench = HoldWhileAsked(LoadBench(), HoldStep::Download, true);
    FaultIfAsked(bench, FaultEntry::Download);
    const char* refusal = Refusal(bench, sofPath);
    if (!refusal) {
        SetBenchKey(bench.Path, "configured", "yes");
        // The JTAG hub takes open_ready_ms from here to start; only a desk that sets that time
        // gets the tick written into its file.
        if (bench.OpenReadyMs > 0)
            SetBenchKey(bench.Path, "downloaded_at", std::to_string(GetTickCount()));
    }
    JournalLine(bench, "download jtag path=" + Quoted(sofPath) + " arg2=" + std::to_string(arg2)
                           + " arg3=" + std::to_string(arg3) + " arg4=" + std::to_string(arg4)
                           + " arg5=" + std::to_string(arg5) + " arg6=" + std::to_string(arg6)
                           + " arg7=" + std::to_string(arg7) + " cwd=" + Quoted(CurrentDirectory().c_str())
                           + " result=" + (refusal ? std::string("0 why=") + refusal : std::string("1")));
    return bench.DownloadResult.value_or(refusal ? 0 : 1);
}

// Entry points the program only requires to exist.
int32_t __stdcall PALDRIX_DownloadEEPROMByByteBlaster(void) { return 0; }
int32_t __stdcall PALDRIX_JtagDownloadByteBlaster(void) { return 0; }
int32_t __stdcall PALDRIX_JtagDownloadChain(void) { return 0; }
int32_t __stdcall PALDRIX_Programming(void) { return 0; }
int32_t __stdcall PALDRIX_DownloadNios2(void) { return 0; }
int32_t __stdcall PALDRIX_DownloadNios2Ex(void) { return 0; }
int32_t __stdcall PALDRIX_Nios2Terminal(void) { return 0; }
int32_t __stdcall PALDRIX_FlashProgrammer(void) { return 0; }
int32_t __stdcall PALDRIX_AsDownload(void) { return 0; }
int32_t __stdcall PALDRIX_AsDownloadPV(void) { return 0; }
int32_t __stdcall PALDRIX_IsUsbBlasterDriverReady(void) { return 0; }
int32_t __stdcall PALDRIX_SetQuartusProgrammerPath(void) { return 0; }
int32_t __stdcall PALDRIX_quartus_pgm(void) { return 0; }
int32_t __stdcall PALDRIX_EnableBlasterII(void) { return 0; }

} // extern "C"
