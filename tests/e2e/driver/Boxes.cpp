#include "Boxes.h"

#include "WindowQuery.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int BOX_TEXT_ID = 0xFFFF; // the static control that carries a message box's text

struct Collected {
    std::vector<std::pair<int, HWND>> Buttons;
};

BOOL CALLBACK CollectButton(HWND window, LPARAM data)
{
    Collected& collected = *reinterpret_cast<Collected*>(data);
    if (_stricmp(ClassOf(window).c_str(), "Button") == 0 && HasVisibleStyle(window))
        collected.Buttons.emplace_back(GetDlgCtrlID(window), window);
    return TRUE;
}

std::vector<std::pair<int, HWND>> ButtonsOf(HWND box)
{
    Collected collected;
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&collected));
    std::sort(collected.Buttons.begin(), collected.Buttons.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return collected.Buttons;
}

} // namespace

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
    if (!ReadText(box, view.Caption))
        return false;
    HWND text = GetDlgItem(box, BOX_TEXT_ID);
    if (text && !ReadText(text, view.Text))
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
