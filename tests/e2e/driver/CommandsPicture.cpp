/*
 * Commands on what the screen shows: colours at points and in rectangles of the window's client
 * area, and pictures saved to files. Painting happens when the program gets round to it, so
 * checks poll the screen until they hold, and a picture is taken once the screen stands still.
 */
#include "Commands.h"
#include "Log.h"
#include "Picture.h"
#include "WindowQuery.h"

#include "tests/support/TextFiles.h"

#include <cctype>

namespace {

constexpr DWORD POLL_MS = 100;
constexpr DWORD STILL_MS = 250; // two pictures this far apart that agree: painting is done

RECT ClientToScreenRect(HWND window, RECT rect)
{
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Polls the area (client coordinates) until some pixel of `colour` (within `tolerance`) is or
// is not in it.
void ExpectColorIn(HWND main, const RECT& area, uint32_t colour, int tolerance, bool present, const Deadline& deadline)
{
    size_t count = 0;
    const auto holds = [&] {
        const Image image = CaptureScreen(ClientToScreenRect(main, area));
        count = 0;
        for (int y = 0; y < image.Height; ++y) {
            for (int x = 0; x < image.Width; ++x)
                count += ColorDistance(image.Pixel(x, y), colour) <= tolerance ? 1 : 0;
        }
        return (count > 0) == present;
    };
    if (PollUntil(deadline, holds, POLL_MS))
        return;
    std::string where = Format("%ld,%ld %ldx%ld", area.left, area.top, area.right - area.left, area.bottom - area.top);
    if (present)
        throw Failure("no pixel of " + ColorText(colour) + " in " + where);
    throw Failure(Format("%zu pixels of %s in %s", count, ColorText(colour).c_str(), where.c_str()));
}

// A control or four numbers (left top width height, client coordinates), then the colour and
// an optional tolerance.
void ExpectColorIn(Session& session, const Command& command, const Deadline& deadline, bool present)
{
    HWND main = session.MainWindow(deadline);
    RECT area{};
    size_t next = 1;
    if (command.Args.size() >= 5 && !command.Args[0].Quoted && std::isdigit(static_cast<unsigned char>(command.Args[0].Text[0]))) {
        area = {IntegerArg(command, 0), IntegerArg(command, 1), 0, 0};
        area.right = area.left + IntegerArg(command, 2);
        area.bottom = area.top + IntegerArg(command, 3);
        next = 4;
    } else {
        const ControlRef ref = ControlArg(command, 0);
        HWND control = FindControl(main, ref);
        if (!control)
            throw Failure("the window has no " + ref.Name);
        area = RectIn(control, main);
    }
    ExpectColorIn(main, area, ColorArg(command, next), HasArg(command, next + 1) ? IntegerArg(command, next + 1) : 0,
                  present, deadline);
}

// The smallest rectangle holding the main windows of every program of the script that runs.
RECT ProgramsRect(Session& session, const Deadline& deadline)
{
    RECT all{};
    const std::string current = session.Current;
    for (auto& [alias, program] : session.Programs) {
        if (program.Process->HasExited())
            continue;
        session.Current = alias;
        RECT rect{};
        GetWindowRect(session.MainWindow(deadline), &rect);
        UnionRect(&all, &all, &rect);
    }
    session.Current = current;
    return all;
}

} // namespace

KV7_HANDLER(RunExpectPixel)
{
    const int x = IntegerArg(command, 0);
    const int y = IntegerArg(command, 1);
    const int tolerance = HasArg(command, 3) ? IntegerArg(command, 3) : 0;
    ExpectColorIn(session.MainWindow(deadline), RECT{x, y, x + 1, y + 1}, ColorArg(command, 2), tolerance, true, deadline);
}

KV7_HANDLER(RunExpectColorIn) { ExpectColorIn(session, command, deadline, true); }

KV7_HANDLER(RunExpectNoColorIn) { ExpectColorIn(session, command, deadline, false); }

KV7_HANDLER(RunScreenshot)
{
    const std::string what = HasArg(command, 1) ? TextArg(command, 1) : "window";
    RECT screen{};
    if (what == "screen")
        screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    else if (what == "programs")
        screen = ProgramsRect(session, deadline);
    else if (what == "window")
        GetWindowRect(session.MainWindow(deadline), &screen);
    else
        throw Failure("screenshot takes window, screen or programs, not " + what);
    Image image = CaptureScreen(screen);
    for (;;) {
        Sleep(deadline.StepMs(STILL_MS));
        Image again = CaptureScreen(screen);
        bool still = again.Rgb == image.Rgb;
        image = std::move(again);
        if (still || deadline.Passed())
            break;
    }
    std::string path = session.Resolve(TextArg(command, 0), session.OutFolder);
    if (path.size() < 4 || _stricmp(path.c_str() + path.size() - 4, ".png") != 0)
        throw Failure("a picture file ends in .png: " + path);
    WriteText(path, EncodePng(image));
    LogLine("picture %dx%d written to %s", image.Width, image.Height, path.c_str());
}
