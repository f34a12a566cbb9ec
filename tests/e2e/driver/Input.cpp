#include "Input.h"

#include "Log.h"
#include "Session.h"

#include "sim/KeyValue.h"

#include <cctype>
#include <map>
#include <vector>

namespace {

constexpr DWORD MOUSE_POLL_MS = 50;
constexpr int SETTLE_POLLS = 4; // the pointer stays put this many polls in a row

WORD KeyOf(const std::string& name)
{
    static const std::map<std::string, WORD> KEYS = {
        {"alt", VK_MENU},   {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"f4", VK_F4},
        {"space", VK_SPACE}, {"enter", VK_RETURN}, {"tab", VK_TAB},     {"escape", VK_ESCAPE},
    };
    if (auto found = KEYS.find(name); found != KEYS.end())
        return found->second;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    throw Failure("unknown key " + name);
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT>& inputs, const char* what)
{
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size())
        throw Failure(Format("the system took %u of %zu inputs of %s (error %lu)", sent, inputs.size(), what,
                             GetLastError()));
}

} // namespace

void ClickAt(POINT screen, const Deadline& deadline)
{
    MoveMouse(screen, deadline);
    std::vector<INPUT> inputs(2);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(inputs, "a click");
    LogLine("clicked at %ld,%ld (screen)", screen.x, screen.y);
}

void PressKeys(const std::string& combination)
{
    std::vector<INPUT> inputs;
    for (const std::string& name : sim::SplitList(combination, "+"))
        inputs.push_back(KeyInput(KeyOf(name), false));
    for (size_t i = inputs.size(); i-- > 0;)
        inputs.push_back(KeyInput(inputs[i].ki.wVk, true));
    Send(inputs, combination.c_str());
    LogLine("pressed %s", combination.c_str());
}

// The close box is the last button of the caption, which lies between the frame's top edge and
// the client area; the side frame is as thick as the top one on a dialog frame.
POINT CloseBoxCentre(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    POINT clientTopRight{client.right, 0};
    ClientToScreen(window, &clientTopRight);
    const LONG side = frame.right - clientTopRight.x;
    const LONG captionTop = frame.top + side;
    return POINT{clientTopRight.x - GetSystemMetrics(SM_CXSIZE) / 2 - 1, (captionTop + clientTopRight.y) / 2};
}

// The display server echoes every pointer move back a little later, and a late echo of an
// earlier move would put the pointer back where it was; so the move is repeated until the
// pointer has stayed put for a while.
// SetCursorPos moves both the system's pointer and the display's, and the window under the
// pointer gets its mouse move from the display as it would from a hand on the mouse.
void MoveMouse(POINT screen, const Deadline& deadline)
{
    if (!SetCursorPos(screen.x, screen.y))
        throw Failure("the mouse move was not accepted");
    int still = 0;
    while (still < SETTLE_POLLS) {
        if (deadline.Passed())
            throw Failure(Format("the pointer does not stay at %ld,%ld", screen.x, screen.y));
        Sleep(deadline.StepMs(MOUSE_POLL_MS));
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) {
            ++still;
        } else {
            // The system skips a move to where it believes the pointer already is, although the
            // display may have it elsewhere (at the start, the middle of the screen); a step
            // beside the target first makes the move a real one.
            LogLine("pointer found at %ld,%ld, moved again", now.x, now.y);
            SetCursorPos(screen.x + 1, screen.y);
            SetCursorPos(screen.x, screen.y);
            still = 0;
        }
    }
    LogLine("mouse at %ld,%ld (screen)", screen.x, screen.y);
}
