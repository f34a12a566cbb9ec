#include "Hold.h"

#include "Journal.h"

#include <windows.h>

#include <string>
#include <vector>

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

// GetQueueStatus, from the user32 the process has already loaded. Only the program's thread
// watches its queue, and the program is a window program; the simulated programmer, a console
// process, must not import user32 for a call it never makes: under Wine a process that loads
// user32 pays tens of milliseconds at its start, and every chain detection would pay them.
DWORD QueueStatus(UINT flags)
{
    using TGetQueueStatus = DWORD(WINAPI*)(UINT);
    static const TGetQueueStatus getQueueStatus = [] {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        return user32 ? reinterpret_cast<TGetQueueStatus>(
                            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetQueueStatus")))
                      : nullptr;
    }();
    return getQueueStatus ? getQueueStatus(flags) : 0;
}

// The kinds of input added to this thread's queue since the last look. Asking clears them, so
// each arrival is told once; the program's own waits look at what is in the queue, not at what
// is new, and are not misled by it. Under Wine, SendInput has filed the input in the thread's
// queue by the time it returns; on Windows the system's input thread files it a moment later,
// so a script waits for this line, not for its own SendInput, before it releases the step.
// Each kind is told on a line of its own, so that a script waiting for a key finds its line
// even when a click arrived in the same look.
std::vector<const char*> NewInput()
{
    const DWORD added = LOWORD(QueueStatus(QS_MOUSEBUTTON | QS_KEY));
    std::vector<const char*> kinds;
    if (added & QS_MOUSEBUTTON)
        kinds.push_back("click");
    if (added & QS_KEY)
        kinds.push_back("key");
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
            for (const char* kind : NewInput())
                JournalLine(now, "holding " + name + ", input arrived: " + kind);
        }
        now = LoadBench();
    }
    JournalLine(now, "released " + name);
    return now;
}

} // namespace sim
