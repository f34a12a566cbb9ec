/*
 * TJtagPort: the byte pipe between the PC and the test firmware on the board's FPGA, over the
 * board maker's JTAG library. It loads the library from the executable's folder, opens one
 * port, and offers whole-buffer writes, time-limited reads and a drain of stale input. It
 * knows nothing of packets: TBoard owns it and frames everything that passes through it.
 */
#pragma once

#include "board/PaldrixJtagApi.h"

#include <cstdint>
#include <string>

class TJtagPort {
public:
    // Loads the library at once; a failed load (after its box) leaves a port that never opens.
    TJtagPort(int32_t portIndex, const std::string& portName);
    // Frees the library. The owner closes an open port first.
    ~TJtagPort();
    TJtagPort(const TJtagPort&) = delete;
    TJtagPort& operator=(const TJtagPort&) = delete;

    void LoadDll();
    void UnloadDll();

    // Opens the port with the Quartus bin folder as the current directory for the library's
    // sake, and leaves the executable's folder current afterwards whatever happened.
    bool Open();
    void Close();
    bool IsOpen() const;

    // One library call: true when all the bytes went out.
    bool Write(const uint8_t* data, int32_t count);
    // Polls the library until count bytes arrived or limitMs passed; at least one attempt.
    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs);
    // Discards whatever the board has already sent, for at most limitMs.
    void Drain(uint32_t limitMs);

    // Makes the Quartus bin folder (toQuartus) or the executable's folder current.
    void SwitchDirectory(bool toQuartus);

private:
    TPaldrixJtagLibrary Library;
    uint32_t PortHandle = 0;
    int32_t PortIndex;
    std::string PortName;
};
