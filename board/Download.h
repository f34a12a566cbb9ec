/*
 * TDownload: the board maker's download library, loaded for one configuration attempt. It
 * reads the installed Quartus version and downloads a .sof configuration into the board's
 * FPGA over JTAG. The library is taken whole or not at all: all sixteen entry points must be
 * there, although only two are ever called.
 */
#pragma once

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
    // True when the low byte of the library's answer is non-zero.
    bool JtagDownload(const std::string& path, int32_t number1, bool flag1, int32_t number2, int32_t number3,
                      bool flag2, bool flag3);

private:
    TPaldrixDownloadLibrary Library;
};

// The download library's answer: only the low byte of the 32-bit result counts, so 0x7F02
// is a success and 0x100 a failure.
constexpr bool DownloadSucceeded(uint32_t result) { return (result & 0xFF) != 0; }
