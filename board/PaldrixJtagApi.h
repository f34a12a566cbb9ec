/*
 * The entry points of the board maker's JTAG library, PALDRIX_JTAG.DLL, declared once with
 * their exact types. The library is loaded at run time, so nothing links against these
 * declarations: TJtagPort takes its function pointer types from them with decltype.
 */
#pragma once

#include "board/PaldrixCall.h"

#include <cstdint>

extern "C" {

// The port handle, or 0 when no port could be opened. The name may be empty, never null.
uint32_t PALDRIX_API PALDRIX_JtagOpen(int32_t portIndex, const char* portName);

void PALDRIX_API PALDRIX_JtagClose(uint32_t port);

// Non-zero when every byte was sent.
int32_t PALDRIX_API PALDRIX_JtagWrite(uint32_t port, const uint8_t* data, int32_t count);

// Returns at once with the number of bytes placed in the buffer (0 when nothing waits).
int32_t PALDRIX_API PALDRIX_JtagRead(uint32_t port, uint8_t* buffer, int32_t count);

}
