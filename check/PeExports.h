/*
 * What a library file says about itself, read from its bytes without loading it: the
 * processor it was built for, the names it exports and the libraries it needs (those the loader
 * loads with it, and those loaded at the first call of one of their functions). Loading a
 * library to look would run its
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
    std::vector<std::string> Imports;      // library names as the file spells them, in its order
    std::vector<std::string> DelayImports; // the same, for the delay-loaded ones
};

TPeExports ReadPeExports(std::span<const uint8_t> file);

// "i386", "amd64", "arm64", or the number in hex for another processor.
std::string MachineName(uint16_t machine);
