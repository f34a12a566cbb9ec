/*
 * The FPGA models bring-up recognises by the first device name of the JTAG chain, their labels
 * and the test configuration each one needs.
 */
#pragma once

#include <string_view>

enum BoardType : int {
    BOARD_SIII_150,
    BOARD_SIII_340,
    BOARD_SIII_150ES,
    BOARD_SIII_260,
    BOARD_UNKNOWN,
    BOARD_NOT_FOUND,
};

// Exact, case-sensitive match of the whole name; an empty name means no device was found.
BoardType BoardTypeOfDevice(std::string_view deviceName);

// "SIII-340" and the like; "Unkonw" for anything but the four models.
const char* BoardTypeLabel(BoardType type);

// The configuration file beside the executable; nullptr for anything but the four models.
const char* SofFileOf(BoardType type);
