/*
 * A reply that fails before its payload (nothing came, wrong start, wrong echo, wrong length)
 * is refused silently and its remains are left for the drain that opens the next exchange; a
 * reply that announced itself correctly and then broke sounds the beep.
 */
#include "board/Board.h"

#include "base/Assert.h"
#include "base/Beep.h"
#include "base/Fault.h"
#include "base/Trace.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char ASSERT_UNIT[] = "Board";
constexpr char CONNECT_ERROR[] = "Fail to connect FPGA borad.";
constexpr uint32_t FIRST_REPLY_LIMIT_MS = 3000;
constexpr uint32_t REPLY_REST_LIMIT_MS = 3000;
constexpr uint32_t PORT_READ_LIMIT_MS = 3000;
constexpr uint32_t DRAIN_LIMIT_MS = 300;

} // namespace

// A fault in the close of a port still open cannot be passed on from a destructor; it is traced,
// and the library has been let go all the same.
TBoard::~TBoard()
{
    try {
        Disconnect();
    } catch (const TLibraryFault& fault) {
        TraceFailure("board dropped: %s", fault.what());
    }
}

bool TBoard::Connect(std::string& error, int32_t portIndex)
{
    Disconnect();
    Port = std::make_unique<TJtagPort>(portIndex, std::string());
    if (Port->Open())
        return true;
    error = CONNECT_ERROR;
    Port.reset();
    return false;
}

void TBoard::Disconnect()
{
    if (!Port)
        return;
    if (Port->IsOpen())
        Port->Close();
    Port.reset();
}

bool TBoard::IsConnected() const { return Port && Port->IsOpen(); }

std::string TBoard::QueryBoardName()
{
    uint8_t reply[BOARD_NAME_REPLY_LEN];
    if (!Exchange(CMD_BOARD_NAME, reply, BOARD_NAME_REPLY_LEN, nullptr, 0, FIRST_REPLY_LIMIT_MS))
        return std::string();
    return packet::DecodeBoardName(reply);
}

bool TBoard::RunLoopback(int32_t index, uint8_t results[LOOPBACK_PAIRS])
{
    uint8_t connector = static_cast<uint8_t>(index & 0xFF);
    uint8_t reply[LOOPBACK_REPLY_LEN];
    if (!Exchange(CMD_LOOPBACK, reply, LOOPBACK_REPLY_LEN, &connector, 1, FIRST_REPLY_LIMIT_MS))
        return false;
    return packet::DecodeLoopback(reply, std::span<uint8_t, LOOPBACK_PAIRS>(results, LOOPBACK_PAIRS));
}

void TBoard::FlushInput()
{
    if (Port)
        Port->Drain(DRAIN_LIMIT_MS);
}

bool TBoard::Exchange(uint8_t command, uint8_t* pReturnBuffer, uint32_t replyLength, const uint8_t* payload,
                      uint32_t dwPayloadLen, uint32_t firstReplyLimitMs)
{
    FlushInput();
    KV7_ASSERT(pReturnBuffer);
    KV7_ASSERT(dwPayloadLen <= PKT_PC2NIOS_MAX_PL_LEN);
    // Without an open port there is nobody to talk to; that is no broken reply, so no beep.
    if (!IsConnected()) {
        TraceFailure("board command %u not sent: the board is not connected", command);
        return false;
    }

    bool sent;
    {
        std::vector<uint8_t> request = packet::BuildRequest(command, std::span(payload, dwPayloadLen));
        sent = Port->Write(request.data(), static_cast<int32_t>(request.size()));
    }
    if (!sent) {
        TraceFailure("board command %u: the request could not be written", command);
        SystemBeep();
        return false;
    }

    uint8_t header[PKT_HEADER_LEN];
    if (!ReadExact(header, PKT_HEADER_LEN, firstReplyLimitMs)) {
        TraceFailure("board command %u: no reply header in time", command);
        return false;
    }
    if (!packet::AcceptHeader(header, command, replyLength)) {
        TraceFailure("board command %u: reply header %02X %02X %02X %02X refused", command, header[0], header[1],
              header[2], header[3]);
        return false;
    }

    std::vector<uint8_t> reply(replyLength + PKT_OVERHEAD);
    std::copy(header, header + PKT_HEADER_LEN, reply.begin());
    if (!ReadExact(reply.data() + PKT_HEADER_LEN, replyLength + 2, REPLY_REST_LIMIT_MS)) {
        TraceFailure("board command %u: reply incomplete", command);
        SystemBeep();
        return false;
    }
    const uint32_t total = replyLength + PKT_OVERHEAD;
    if (!CheckFrame(reply.data(), total)) {
        // The sum the reply should carry, over its command, length and payload bytes.
        TraceFailure("board command %u: reply checksum or end byte wrong (checksum %02X, expected %02X, end %02X)",
              command, reply[total - 2], Checksum(reply.data() + 1, total - 3), reply[total - 1]);
        SystemBeep();
        return false;
    }
    std::copy_n(reply.begin() + PKT_HEADER_LEN, replyLength, pReturnBuffer);
    return true;
}

uint8_t TBoard::Checksum(const uint8_t* bytes, uint32_t count) { return packet::Checksum(std::span(bytes, count)); }

bool TBoard::CheckFrame(const uint8_t* frame, uint32_t totalLength)
{
    return packet::CheckFrame(std::span(frame, totalLength));
}

bool TBoard::ReadExact(uint8_t* buffer, uint32_t count, uint32_t limitMs)
{
    if (!Port)
        return false;
    DWORD start = GetTickCount();
    uint32_t got = 0;
    while (got < count) {
        if (GetTickCount() - start > limitMs)
            return false;
        int32_t arrived = Port->Read(buffer + got, static_cast<int32_t>(count - got), PORT_READ_LIMIT_MS);
        if (arrived > 0)
            got += static_cast<uint32_t>(arrived);
    }
    return true;
}
