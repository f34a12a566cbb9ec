/*
 * The FPGA models a KV7 board can carry, with the IDCODE the simulated chain reports for each.
 * A bench may name a device without its IDCODE; the code then comes from here.
 */
#pragma once

#include <string>

namespace sim {

// The 8-digit IDCODE of a known device name, or "" for a name not in the table.
std::string IdCodeOf(const std::string& name);

} // namespace sim
