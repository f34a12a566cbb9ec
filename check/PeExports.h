/*
 * What a library file says about itself, read from its bytes without loading it: the
 * processor it was built for and the names it exports. Loading a library to look would run its
 * start-up code; a pre-flight check must run none of the maker's code. Free of windows.h, so
 * that the host build can run it on hostile bytes.
 */
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr uint16_t PE_MACHINE_I386 = 0x014C;
inline constexpr uint16_t PE_MACHINE_AMD64 = 0x8664;

struct TPeExports {
    // Empty when the file read as a library; otherwise why it did not (the rest is then unset).
    std::string Failure;
    uint16_t Machine = 0;
    std::vector<std::string> Names; // exported by name, in the file's order
};

TPeExports ReadPeExports(std::span<const uint8_t> file);

// "i386", "amd64", "arm64", or the number in hex for another processor.
std::string MachineName(uint16_t machine);
