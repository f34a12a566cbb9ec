#include "Input.h"

#include "Log.h"
#include "Session.h"

#include <cctype>
#include <vector>

namespace {

constexpr DWORD MOUSE_POLL_MS = 50;
constexpr int SETTLE_POLLS = 4; // the pointer stays put this many polls in a row

struct KeyName {
    const char* Name;
    WORD Key;
};

constexpr KeyName KEYS[] = {
    {"alt", VK_MENU}, {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"f4", VK_F4},
    {"space", VK_SPACE}, {"enter", VK_RETURN}, {"tab", VK_TAB}, {"escape", VK_ESCAPE},
};

WORD KeyOf(const std::string& name)
{
    for (const KeyName& key : KEYS) {
        if (name == key.Name)
            return key.Key;
    }
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
    std::vector<WORD> keys;
    size_t start = 0;
    for (;;) {
        size_t plus = combination.find('+', start);
        keys.push_back(KeyOf(combination.substr(start, plus - start)));
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, false));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        inputs.push_back(KeyInput(*key, true));
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
