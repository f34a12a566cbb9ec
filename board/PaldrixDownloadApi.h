/*
 * The entry points of the board maker's download library, PALDRIX_DOWNLOAD.DLL: the one list
 * of them in the program, V(name, return type, (parameters)) per export, matched byte for byte
 * as the library spells them ("Quatus", and "quartus_pgm" in lower case). The program calls two
 * of them; it insists that the other fourteen exist but never calls them, so they are listed
 * without arguments.
 */
#pragma once

#include "board/MakerLibrary.h"

#include <cstdint>

// PALDRIX_GetQuatusVersion: the installed Quartus version; exactly 0 when no usable
//                           installation was found.
// PALDRIX_JtagDownload:     configures the FPGA from a .sof file. The library returns a C++
//                           bool of its own compiler: only the low byte of EAX is the answer
//                           (non-zero when the FPGA now runs that configuration), and the upper
//                           three bytes hold whatever the library left there. So the whole
//                           register is taken as it is and only its low byte is tested
//                           (DownloadSucceeded in board/Download.h).
#define PALDRIX_DOWNLOAD_ENTRIES(V)                                                              \
    V(PALDRIX_DownloadEEPROMByByteBlaster, void, (void))                                         \
    V(PALDRIX_JtagDownloadByteBlaster, void, (void))                                             \
    V(PALDRIX_JtagDownload, uint32_t,                                                            \
      (const char* sofPath, int32_t number1, bool flag1, int32_t number2, int32_t number3,       \
       bool flag2, bool flag3))                                                                  \
    V(PALDRIX_JtagDownloadChain, void, (void))                                                   \
    V(PALDRIX_Programming, void, (void))                                                         \
    V(PALDRIX_DownloadNios2, void, (void))                                                       \
    V(PALDRIX_DownloadNios2Ex, void, (void))                                                     \
    V(PALDRIX_FlashProgrammer, void, (void))                                                     \
    V(PALDRIX_AsDownload, void, (void))                                                          \
    V(PALDRIX_AsDownloadPV, void, (void))                                                        \
    V(PALDRIX_IsUsbBlasterDriverReady, void, (void))                                             \
    V(PALDRIX_GetQuatusVersion, double, (void))                                                  \
    V(PALDRIX_SetQuartusProgrammerPath, void, (void))                                            \
    V(PALDRIX_quartus_pgm, void, (void))                                                         \
    V(PALDRIX_Nios2Terminal, void, (void))                                                       \
    V(PALDRIX_EnableBlasterII, void, (void))

KV7_MAKER_ENTRY_TABLE(TPaldrixDownloadEntries, PALDRIX_DOWNLOAD_ENTRIES)

using TPaldrixDownloadLibrary = TMakerLibrary<TPaldrixDownloadEntries>;
