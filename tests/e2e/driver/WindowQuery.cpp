#include "WindowQuery.h"

#include "app/ControlIds.h"
#include "sim/BenchControls.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr UINT TEXT_TIMEOUT_MS = 2000;

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
constexpr char DIALOG_CLASS[] = "#32770";

BOOL CALLBACK Collect(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleTopLevel(DWORD processId)
{
    std::vector<HWND> all, visible;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            visible.push_back(window);
    }
    return visible;
}

} // namespace

std::string ControlRef::Describe() const
{
    switch (How) {
    case Kind::Name: return Text;
    case Kind::Id: return "#" + std::to_string(Id);
    case Kind::Caption: return "the control captioned \"" + Text + "\"";
    }
    return Text;
}

bool ParseControlRef(const std::string& text, bool quoted, ControlRef& ref, std::string& error)
{
    ref = ControlRef{};
    ref.Text = text;
    if (quoted) {
        ref.How = ControlRef::Kind::Caption;
        return true;
    }
    if (!text.empty() && text[0] == '#') {
        char* end = nullptr;
        long id = std::strtol(text.c_str() + 1, &end, 0);
        if (text.size() < 2 || *end != '\0') {
            error = "a control number looks like #1001";
            return false;
        }
        ref.How = ControlRef::Kind::Id;
        ref.Id = static_cast<int>(id);
        return true;
    }
    for (const auto& [name, id] : CONTROL_NAMES) {
        if (text == name) {
            ref.Id = id;
            return true;
        }
    }
    error = "unknown control name " + text;
    return false;
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
    std::vector<HWND> found;
    for (HWND window : VisibleTopLevel(processId)) {
        if (ClassOf(window) == className)
            found.push_back(window);
    }
    return found;
}

std::vector<HWND> FindBoxes(DWORD processId) { return FindTopLevel(processId, DIALOG_CLASS); }

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindControl(HWND parent, const ControlRef& ref)
{
    for (HWND window : ChildrenOf(parent)) {
        std::string text;
        const bool match = ref.How == ControlRef::Kind::Caption
                               ? ReadText(window, text) && WithoutMnemonic(text) == WithoutMnemonic(ref.Text)
                               : GetDlgCtrlID(window) == ref.Id;
        if (match)
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
    buffer.resize(copied < buffer.size() ? copied : buffer.size() - 1);
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

std::string WithoutMnemonic(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}
