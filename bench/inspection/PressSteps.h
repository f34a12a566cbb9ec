/*
 * The steps of a press on a held board, timed one by one: the program's own window code runs in
 * this process on the simulated board, and each operation a press makes is called in the
 * press's order and timed on its own, with no debugger attached. This says where the time of a
 * press goes; the whole press, as the operator waits for it, is measured on the real program.
 */
#pragma once

#include <string>
#include <vector>

// The step that writes the press's record: a line appended to a real file and flushed.
inline constexpr char RECORD_STEP[] = "record written (appended, flushed)";

struct TPressStep {
    std::string Name;
    std::vector<double> Ms;
};

struct TPressSteps {
    std::vector<TPressStep> Steps; // in the order a press makes them
    std::vector<double> WholeMs;   // the same press through its click handler, in this process
    double CpuMsPerPress = 0;      // this thread's processor time over those, per press
};

// Runs `presses` presses of each kind on a board described by the bench file benchPath, which
// must say that the board is configured. False with the error when the board does not answer.
bool MeasurePressSteps(const std::string& benchPath, int presses, TPressSteps& steps, std::string& error);
