/*
 * The dummy configuration files. A real one is a bitstream for one FPGA model; ours is a short
 * text naming the model and the device names it fits, which is all the simulated download
 * needs to decide whether a file would configure the chain's first device.
 *
 *   KV7 dummy configuration
 *   model = SIII-340
 *   fits = EP3SL340, EP3SL340ES
 */
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

constexpr std::string_view SOF_FIRST_LINE = "KV7 dummy configuration";

struct SofFile {
    std::string Model;
    std::vector<std::string> Fits;
};

// False when the text is not a dummy configuration (its first line differs).
bool ParseSof(std::string_view text, SofFile& sof);

} // namespace sim
