#include "Hold.h"

#include "Journal.h"

#include <windows.h>

#include <string>

namespace sim {

namespace {

constexpr DWORD POLL_MS = 20;
constexpr DWORD GIVE_UP_MS = 180000;

constexpr std::pair<const char*, HoldStep> STEP_NAMES[] = {
    {"none", HoldStep::None}, {"programmer", HoldStep::Programmer}, {"download", HoldStep::Download},
    {"open", HoldStep::Open}, {"name", HoldStep::Name},             {"loopback", HoldStep::Loopback},
};

std::string NameOf(HoldStep step)
{
    for (const auto& [name, named] : STEP_NAMES)
        if (named == step)
            return name;
    return "?";
}

// The kinds of input added to this thread's queue since the last look. Asking clears them, so
// each arrival is told once; the program's own waits look at what is in the queue, not at what
// is new, and are not misled by it. Under Wine, SendInput has filed the input in the thread's
// queue by the time it returns; on Windows the system's input thread files it a moment later,
// so a script waits for this line, not for its own SendInput, before it releases the step.
std::string NewInput()
{
    const DWORD added = LOWORD(GetQueueStatus(QS_MOUSEBUTTON | QS_KEY));
    std::string kinds;
    if (added & QS_MOUSEBUTTON)
        kinds = "click";
    if (added & QS_KEY)
        kinds += kinds.empty() ? "key" : " key";
    return kinds;
}

} // namespace

std::optional<HoldStep> HoldStepNamed(std::string_view value)
{
    for (const auto& [name, named] : STEP_NAMES)
        if (value == name)
            return named;
    return std::nullopt;
}

Bench HoldWhileAsked(const Bench& bench, HoldStep step, bool watchInput)
{
    if (bench.Hold != step || step == HoldStep::None)
        return bench;
    const std::string name = NameOf(step);
    // Input that came before the hold is no news to a test that waits for "held".
    if (watchInput)
        NewInput();
    JournalLine(bench, "held " + name);
    const DWORD start = GetTickCount();
    Bench now = bench;
    while (now.Hold == step) {
        if (GetTickCount() - start >= GIVE_UP_MS) {
            JournalLine(now, "hold " + name + " given up after " + std::to_string(GIVE_UP_MS / 1000) + " s");
            return now;
        }
        Sleep(POLL_MS);
        if (watchInput) {
            const std::string arrived = NewInput();
            if (!arrived.empty())
                JournalLine(now, "holding " + name + ", input arrived: " + arrived);
        }
        now = LoadBench();
    }
    JournalLine(now, "released " + name);
    return now;
}

} // namespace sim
