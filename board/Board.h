/*
 * TBoard: the PC's end of the command protocol spoken with the test firmware on the board's
 * FPGA. It owns the JTAG port, frames each command into a packet, sends it, waits for the one
 * reply that answers it, tests that reply and hands its payload back. Two commands exist: the
 * board name, by which a configured board is recognised, and the loopback test of one
 * connector. A broken reply only sounds the system beep; the caller decides what it means.
 */
#pragma once

#include "board/Jtagport.h"
#include "board/Packet.h"

#include <cstdint>
#include <memory>
#include <string>

class TBoard {
public:
    TBoard() = default;
    ~TBoard();
    TBoard(const TBoard&) = delete;
    TBoard& operator=(const TBoard&) = delete;

    // Opens the JTAG link on a fresh port, closing any earlier one first. On failure the error
    // text receives "Fail to connect FPGA borad." and is otherwise left alone.
    bool Connect(std::string& error, int32_t portIndex);
    void Disconnect();
    bool IsConnected() const;

    // The name the firmware reports; empty when the exchange failed or the status was not 0.
    std::string QueryBoardName();
    // The loopback test of one connector (0-3 for A-D): results[i] is 1 when pin pair i passed,
    // 0 when it failed. On false the results are not written.
    bool RunLoopback(int32_t index, uint8_t results[LOOPBACK_PAIRS]);
    // Discards input still waiting from the board.
    void FlushInput();

    // One request and the reply that answers it. On success the reply's replyLength payload
    // bytes are copied to pReturnBuffer; on failure that buffer is untouched.
    bool Exchange(uint8_t command, uint8_t* pReturnBuffer, uint32_t replyLength, const uint8_t* payload,
                  uint32_t dwPayloadLen, uint32_t firstReplyLimitMs);
    // The frame's 8-bit sum, and the test of a whole reply frame, as Exchange applies them.
    static uint8_t Checksum(const uint8_t* bytes, uint32_t count);
    static bool CheckFrame(const uint8_t* frame, uint32_t totalLength);
    // Reads exactly count bytes within limitMs (plus the last port read's own limit).
    bool ReadExact(uint8_t* buffer, uint32_t count, uint32_t limitMs);

private:
    std::unique_ptr<TJtagPort> Port;
};
