#include "WindowQuery.h"

#include "app/ControlIds.h"
#include "sim/BenchControls.h"

#include <algorithm>
#include <utility>

namespace {

constexpr UINT TEXT_TIMEOUT_MS = 2000;
constexpr char DIALOG_CLASS[] = "#32770";
constexpr int BOX_TEXT_ID = 0xFFFF; // the static control that carries a message box's text

// The programs' own names for their controls, numbered from their own headers so that the two
// cannot drift apart.
const std::pair<const char*, int> CONTROL_NAMES[] = {
    {"ButtonExit", ID_BUTTON_EXIT},   {"ButtonOrbaA", ID_BUTTON_ORBA_A}, {"ButtonOrbaB", ID_BUTTON_ORBA_B},
    {"ButtonOrbaC", ID_BUTTON_ORBA_C}, {"ButtonOrbaD", ID_BUTTON_ORBA_D}, {"MemoError", ID_MEMO_ERROR},
    {"LabelResult", ID_LABEL_RESULT}, {"LabelError", ID_LABEL_ERROR},    {"StatusBar", ID_STATUS_BAR},
    // The simulated bench's window (KV7Bench.exe)
    {"BenchProblem", sim::ID_BENCH_PROBLEM},           {"BenchJournal", sim::ID_BENCH_JOURNAL},
    {"BenchPowered", sim::ID_BENCH_POWERED},           {"BenchCable", sim::ID_BENCH_CABLE},
    {"BenchConfigured", sim::ID_BENCH_CONFIGURED},     {"BenchChain", sim::ID_BENCH_CHAIN},
    {"BenchFirmware", sim::ID_BENCH_FIRMWARE},         {"BenchFirmwareSet", sim::ID_BENCH_FIRMWARE_SET},
    {"BenchReplyFault", sim::ID_BENCH_REPLY_FAULT},    {"BenchNoQuartus", sim::ID_BENCH_NO_QUARTUS},
    {"BenchPairsA", sim::ID_BENCH_PAIRS_A},            {"BenchPairsB", sim::ID_BENCH_PAIRS_A + 1},
    {"BenchPairsC", sim::ID_BENCH_PAIRS_A + 2},        {"BenchPairsD", sim::ID_BENCH_PAIRS_A + 3},
};

BOOL CALLBACK Collect(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> VisibleTopLevel(DWORD processId)
{
    std::vector<HWND> all;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    std::erase_if(all, [&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner != processId || !IsWindowVisible(window);
    });
    return all;
}

// A caption as the operator reads it: "&Yes" is shown as Yes.
std::string WithoutMnemonic(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i)
        out += caption[i] == '&' && i + 1 < caption.size() ? caption[++i] : caption[i];
    return out;
}

// The box's visible buttons by their numbers, which give the order the box shows them in.
std::vector<std::pair<int, HWND>> ButtonsOf(HWND box)
{
    std::vector<std::pair<int, HWND>> buttons;
    for (HWND window : ChildrenOf(box)) {
        if (_stricmp(ClassOf(window).c_str(), "Button") == 0 && HasVisibleStyle(window))
            buttons.emplace_back(GetDlgCtrlID(window), window);
    }
    std::sort(buttons.begin(), buttons.end());
    return buttons;
}

} // namespace

int ControlId(const std::string& name)
{
    for (const auto& [known, id] : CONTROL_NAMES) {
        if (name == known)
            return id;
    }
    return 0;
}

HWND FindMainWindow(DWORD processId)
{
    for (HWND window : VisibleTopLevel(processId)) {
        if (GetWindow(window, GW_OWNER) == nullptr && ClassOf(window) != DIALOG_CLASS)
            return window;
    }
    return nullptr;
}

std::vector<HWND> FindTopLevel(DWORD processId, const std::string& className)
{
    std::vector<HWND> found = VisibleTopLevel(processId);
    std::erase_if(found, [&](HWND window) { return ClassOf(window) != className; });
    return found;
}

std::vector<HWND> FindBoxes(DWORD processId) { return FindTopLevel(processId, DIALOG_CLASS); }

HWND FindControl(HWND parent, const ControlRef& ref)
{
    for (HWND window : ChildrenOf(parent)) {
        std::string text;
        if (ref.Caption.empty() ? GetDlgCtrlID(window) == ref.Id
                                : ReadText(window, text) && WithoutMnemonic(text) == WithoutMnemonic(ref.Caption))
            return window;
    }
    return nullptr;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool ReadText(HWND window, std::string& text)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &length))
        return false;
    std::string buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &copied))
        return false;
    buffer.resize(std::min<size_t>(copied, length));
    text = buffer;
    return true;
}

RECT RectIn(HWND window, HWND reference)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasVisibleStyle(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string BoxView::ButtonList() const
{
    std::string list;
    for (const std::string& button : Buttons)
        list += (list.empty() ? "" : "/") + button;
    return list;
}

bool ReadBox(HWND box, BoxView& view)
{
    view = BoxView{};
    view.Window = box;
    HWND text = GetDlgItem(box, BOX_TEXT_ID);
    if (!ReadText(box, view.Caption) || (text && !ReadText(text, view.Text)))
        return false;
    for (const auto& [id, button] : ButtonsOf(box)) {
        std::string caption;
        if (!ReadText(button, caption))
            return false;
        view.Buttons.push_back(WithoutMnemonic(caption));
    }
    return true;
}

bool PressBoxButton(const BoxView& view, const std::string& answer)
{
    for (const auto& [id, button] : ButtonsOf(view.Window)) {
        std::string caption;
        if (ReadText(button, caption) && _stricmp(WithoutMnemonic(caption).c_str(), answer.c_str()) == 0)
            return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
    }
    return false;
}
