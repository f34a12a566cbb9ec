/*
 * The entry points of the board maker's JTAG library, PALDRIX_JTAG.DLL: the one list of them
 * in the program, V(name, return type, (parameters)) per export, in the library's spelling.
 * The table type, its typed pointers, the export names and the resolving all come from this
 * list (board/MakerLibrary.h); nothing links against the library, it is loaded at run time.
 */
#pragma once

#include "board/MakerLibrary.h"

#include <cstdint>

// PALDRIX_JtagOpen:  the port handle, or 0 when no port could be opened. The name may be
//                    empty, never null.
// PALDRIX_JtagWrite: non-zero when every byte was sent.
// PALDRIX_JtagRead:  returns at once with the number of bytes placed in the buffer (0 when
//                    nothing waits).
#define PALDRIX_JTAG_ENTRIES(V)                                                                  \
    V(PALDRIX_JtagOpen, uint32_t, (int32_t portIndex, const char* portName))                     \
    V(PALDRIX_JtagClose, void, (uint32_t port))                                                  \
    V(PALDRIX_JtagWrite, int32_t, (uint32_t port, const uint8_t* data, int32_t count))           \
    V(PALDRIX_JtagRead, int32_t, (uint32_t port, uint8_t* buffer, int32_t count))

KV7_MAKER_ENTRY_TABLE(TPaldrixJtagEntries, PALDRIX_JTAG_ENTRIES)

using TPaldrixJtagLibrary = TMakerLibrary<TPaldrixJtagEntries>;
