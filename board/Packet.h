/*
 * The command packets spoken with the board's test firmware, with no operating system in
 * sight: building a request, the checksum and frame test, accepting a reply's header, and
 * reading the two replies the program understands. TBoard moves the bytes; this decides what
 * they mean. Everything here takes arbitrary bytes safely, since replies come from a board.
 *
 * Layout: AA, command, length (16-bit, low byte first), payload, checksum, 55. The checksum
 * is the 8-bit sum of the command, both length bytes and the payload.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr uint8_t PKT_START = 0xAA;
inline constexpr uint8_t PKT_END = 0x55;
inline constexpr uint32_t PKT_HEADER_LEN = 4;  // start, command, two length bytes
inline constexpr uint32_t PKT_OVERHEAD = 6;    // header, checksum, end
inline constexpr uint32_t PKT_PC2NIOS_MAX_PL_LEN = 246;

inline constexpr uint8_t CMD_BOARD_NAME = 0;
inline constexpr uint8_t CMD_LOOPBACK = 10;
inline constexpr uint32_t BOARD_NAME_REPLY_LEN = 17;
inline constexpr uint32_t LOOPBACK_REPLY_LEN = 68;
inline constexpr size_t BOARD_NAME_MAX_LEN = 16;
inline constexpr size_t LOOPBACK_PAIRS = 66;

namespace packet {

// Plain wrap-around sum from 0, no final inversion.
uint8_t Checksum(std::span<const uint8_t> bytes);

// The whole request, ready to write. The payload length must fit the 16-bit length field.
std::vector<uint8_t> BuildRequest(uint8_t command, std::span<const uint8_t> payload);

// True for a whole packet: start byte, end byte, and the checksum over command to payload.
bool CheckFrame(std::span<const uint8_t> packet);

// True when the first four bytes of a reply answer this command with this payload length.
// A reply of any other length is refused here, before its payload is read.
bool AcceptHeader(std::span<const uint8_t> header, uint8_t command, uint32_t replyLength);

// The board name from a name reply's payload: bytes 1-16 up to the first zero byte. Empty
// when the status byte is not 0 or the payload is too short.
std::string DecodeBoardName(std::span<const uint8_t> payload);

// The 66 pin-pair verdicts from a loopback reply's payload, 1 = passed and 0 = failed. False,
// with the results left alone, when the status byte is not 0 or the payload is too short.
bool DecodeLoopback(std::span<const uint8_t> payload, std::span<uint8_t, LOOPBACK_PAIRS> results);

} // namespace packet
