#include "Mouse.h"

#include "Log.h"
#include "Session.h"

namespace {

constexpr DWORD POLL_MS = 50;
constexpr int SETTLE_POLLS = 4; // the pointer stays put this many polls in a row

// SetCursorPos moves both the system's pointer and the display's, and the window under the
// pointer gets its mouse move from the display as it would from a hand on the mouse.
bool SendMove(POINT screen) { return SetCursorPos(screen.x, screen.y) != FALSE; }

} // namespace

// The display server echoes every pointer move back a little later, and a late echo of an
// earlier move would put the pointer back where it was; so the move is repeated until the
// pointer has stayed put for a while.
void MoveMouse(POINT screen, const Deadline& deadline)
{
    if (!SendMove(screen))
        throw Failure("the mouse move was not accepted");
    int still = 0;
    while (still < SETTLE_POLLS) {
        if (deadline.Passed())
            throw Failure(Format("the pointer does not stay at %ld,%ld", screen.x, screen.y));
        Sleep(deadline.StepMs(POLL_MS));
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) {
            ++still;
        } else {
            // The system skips a move to where it believes the pointer already is, although the
            // display may have it elsewhere (at the start, the middle of the screen); a step
            // beside the target first makes the move a real one.
            LogLine("pointer found at %ld,%ld, moved again", now.x, now.y);
            SendMove(POINT{screen.x + 1, screen.y});
            SendMove(screen);
            still = 0;
        }
    }
    LogLine("mouse at %ld,%ld (screen)", screen.x, screen.y);
}
