/*
 * The time limit of one script command. Every wait in the driver runs against one of these,
 * so a command that waits for something that never comes fails with a message instead of
 * hanging the test run.
 */
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    explicit Deadline(double seconds)
        : End(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))),
          Seconds(seconds)
    {
    }

    bool Passed() const { return Clock::now() >= End; }

    // Milliseconds left, 0 once passed; for the waits of the operating system.
    uint32_t LeftMs() const
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(End - Clock::now()).count();
        return left > 0 ? static_cast<uint32_t>(left) : 0;
    }

    uint32_t StepMs(uint32_t step) const { return LeftMs() < step ? LeftMs() : step; }

    Clock::time_point When() const { return End; }
    double Limit() const { return Seconds; }

private:
    Clock::time_point End;
    double Seconds;
};

// Asks `holds` every `stepMs` until it answers true (true) or the deadline passes (false). It is
// asked once more when the time is up, so a check that holds at the last moment counts, and a
// deadline of 0 asks once: "it holds now".
template <typename Check>
bool PollUntil(const Deadline& deadline, Check holds, uint32_t stepMs = 50)
{
    for (;;) {
        if (holds())
            return true;
        if (deadline.Passed())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(deadline.StepMs(stepMs)));
    }
}
