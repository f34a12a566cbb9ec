/*
 * The entry points of the board maker's download library, PALDRIX_DOWNLOAD.DLL, declared once
 * with their exact types. The program calls two of them; it insists that the other fourteen
 * exist but never calls them, so they are declared without arguments. TDownload takes its
 * function pointer types from these declarations with decltype.
 */
#pragma once

#include "board/PaldrixCall.h"

#include <cstdint>

extern "C" {

// The installed Quartus version; exactly 0 when no usable installation was found.
double PALDRIX_API PALDRIX_GetQuatusVersion(void);

// Configures the FPGA from a .sof file; true when it now runs that configuration.
bool PALDRIX_API PALDRIX_JtagDownload(const char* sofPath, int32_t number1, bool flag1, int32_t number2,
                                      int32_t number3, bool flag2, bool flag3);

void PALDRIX_API PALDRIX_DownloadEEPROMByByteBlaster(void);
void PALDRIX_API PALDRIX_JtagDownloadByteBlaster(void);
void PALDRIX_API PALDRIX_JtagDownloadChain(void);
void PALDRIX_API PALDRIX_Programming(void);
void PALDRIX_API PALDRIX_DownloadNios2(void);
void PALDRIX_API PALDRIX_DownloadNios2Ex(void);
void PALDRIX_API PALDRIX_Nios2Terminal(void);
void PALDRIX_API PALDRIX_FlashProgrammer(void);
void PALDRIX_API PALDRIX_AsDownload(void);
void PALDRIX_API PALDRIX_AsDownloadPV(void);
void PALDRIX_API PALDRIX_IsUsbBlasterDriverReady(void);
void PALDRIX_API PALDRIX_SetQuartusProgrammerPath(void);
void PALDRIX_API PALDRIX_quartus_pgm(void);
void PALDRIX_API PALDRIX_EnableBlasterII(void);

}
