#include "Boxes.h"

#include "WindowQuery.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int BOX_TEXT_ID = 0xFFFF; // the static control that carries a message box's text

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
