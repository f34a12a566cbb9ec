/*
 * TDownload: the board maker's download library, loaded for one configuration attempt. It
 * reads the installed Quartus version and downloads a .sof configuration into the board's
 * FPGA over JTAG. The library is taken whole or not at all: all sixteen entry points must be
 * there, although only two are ever called.
 */
#pragma once

#include "base/Handles.h"
#include "board/PaldrixDownloadApi.h"

#include <cstdint>
#include <string>

class TDownload {
public:
    // Loads the library at once; a failed load (after its box) leaves IsLoaded false.
    TDownload();
    ~TDownload();
    TDownload(const TDownload&) = delete;
    TDownload& operator=(const TDownload&) = delete;

    void LoadDll();
    void UnloadDll();
    bool IsLoaded() const;

    // The installed Quartus version; 0 when there is none or the library is not loaded.
    double QuartusVersion();
    // Configures the FPGA from the file; false without a call when the library is not loaded.
    bool JtagDownload(const std::string& path, int32_t number1, bool flag1, int32_t number2, int32_t number3,
                      bool flag2, bool flag3);

private:
    UniqueModule Library;
    decltype(&PALDRIX_DownloadEEPROMByByteBlaster) DownloadEEPROMByByteBlasterEntry = nullptr;
    decltype(&PALDRIX_JtagDownloadByteBlaster) JtagDownloadByteBlasterEntry = nullptr;
    decltype(&PALDRIX_JtagDownload) JtagDownloadEntry = nullptr;
    decltype(&PALDRIX_JtagDownloadChain) JtagDownloadChainEntry = nullptr;
    decltype(&PALDRIX_Programming) ProgrammingEntry = nullptr;
    decltype(&PALDRIX_DownloadNios2) DownloadNios2Entry = nullptr;
    decltype(&PALDRIX_DownloadNios2Ex) DownloadNios2ExEntry = nullptr;
    decltype(&PALDRIX_Nios2Terminal) Nios2TerminalEntry = nullptr;
    decltype(&PALDRIX_FlashProgrammer) FlashProgrammerEntry = nullptr;
    decltype(&PALDRIX_AsDownload) AsDownloadEntry = nullptr;
    decltype(&PALDRIX_AsDownloadPV) AsDownloadPVEntry = nullptr;
    decltype(&PALDRIX_IsUsbBlasterDriverReady) IsUsbBlasterDriverReadyEntry = nullptr;
    decltype(&PALDRIX_GetQuatusVersion) GetQuatusVersionEntry = nullptr;
    decltype(&PALDRIX_SetQuartusProgrammerPath) SetQuartusProgrammerPathEntry = nullptr;
    decltype(&PALDRIX_quartus_pgm) QuartusPgmEntry = nullptr;
    decltype(&PALDRIX_EnableBlasterII) EnableBlasterIIEntry = nullptr;
};
