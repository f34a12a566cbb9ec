/*
 * The export names are matched byte for byte as the library spells them ("Quatus", and
 * "quartus_pgm" in lower case).
 */
#include "board/Download.h"

#include "base/Box.h"
#include "base/Paths.h"
#include "board/EntryPoint.h"

#include <windows.h>

namespace {

constexpr char DOWNLOAD_DLL_NAME[] = "PALDRIX_DOWNLOAD.DLL";
constexpr char INCOMPLETE_LIBRARY[] = "load PALDRIX_DOWNLOAD.DLL fail. Cannot find all of desired API";

} // namespace

TDownload::TDownload() { LoadDll(); }

TDownload::~TDownload() { UnloadDll(); }

void TDownload::LoadDll()
{
    std::string path = ExeFolder() + DOWNLOAD_DLL_NAME;
    Library.Reset(LoadLibraryA(path.c_str()));
    if (!Library) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to load dll - " + path);
        return;
    }
    HMODULE library = Library.Get();
    bool found = ResolveEntry(library, "PALDRIX_DownloadEEPROMByByteBlaster", DownloadEEPROMByByteBlasterEntry);
    found &= ResolveEntry(library, "PALDRIX_JtagDownloadByteBlaster", JtagDownloadByteBlasterEntry);
    found &= ResolveEntry(library, "PALDRIX_JtagDownload", JtagDownloadEntry);
    found &= ResolveEntry(library, "PALDRIX_JtagDownloadChain", JtagDownloadChainEntry);
    found &= ResolveEntry(library, "PALDRIX_Programming", ProgrammingEntry);
    found &= ResolveEntry(library, "PALDRIX_DownloadNios2", DownloadNios2Entry);
    found &= ResolveEntry(library, "PALDRIX_DownloadNios2Ex", DownloadNios2ExEntry);
    found &= ResolveEntry(library, "PALDRIX_FlashProgrammer", FlashProgrammerEntry);
    found &= ResolveEntry(library, "PALDRIX_AsDownload", AsDownloadEntry);
    found &= ResolveEntry(library, "PALDRIX_AsDownloadPV", AsDownloadPVEntry);
    found &= ResolveEntry(library, "PALDRIX_IsUsbBlasterDriverReady", IsUsbBlasterDriverReadyEntry);
    found &= ResolveEntry(library, "PALDRIX_GetQuatusVersion", GetQuatusVersionEntry);
    found &= ResolveEntry(library, "PALDRIX_SetQuartusProgrammerPath", SetQuartusProgrammerPathEntry);
    found &= ResolveEntry(library, "PALDRIX_quartus_pgm", QuartusPgmEntry);
    found &= ResolveEntry(library, "PALDRIX_Nios2Terminal", Nios2TerminalEntry);
    found &= ResolveEntry(library, "PALDRIX_EnableBlasterII", EnableBlasterIIEntry);
    if (!found) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, INCOMPLETE_LIBRARY);
        Library.Reset();
    }
}

void TDownload::UnloadDll() { Library.Reset(); }

bool TDownload::IsLoaded() const { return static_cast<bool>(Library); }

double TDownload::QuartusVersion() { return Library ? GetQuatusVersionEntry() : 0.0; }

bool TDownload::JtagDownload(const std::string& path, int32_t number1, bool flag1, int32_t number2,
                             int32_t number3, bool flag2, bool flag3)
{
    if (!Library)
        return false;
    return JtagDownloadEntry(path.c_str(), number1, flag1, number2, number3, flag2, flag3);
}
