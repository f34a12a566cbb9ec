/*
 * The status panels' painter. Each panel covers its whole rectangle itself: the status bar of
 * Windows' common controls 6 documents no erase of an owner-drawn panel before it asks for its
 * content (with visual styles it paints its part's background, or nothing), so what a panel
 * showed before (a longer text, a bar) would stay. Wine's status bar happens to erase the
 * panel first, which is why an uncovered panel looks right under Wine only.
 */
#include "StatusPainter.h"

#include "Layout.h"
#include "ProgressMath.h"

#include "base/DcGuards.h"

namespace {

void DrawClipped(HDC dc, const RECT& area, int x, int y, const std::string& text, COLORREF fill,
                 COLORREF ink)
{
    SetBkColor(dc, fill);
    SetTextColor(dc, ink);
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
}

} // namespace

void PaintStatusPanel(HDC dc, const RECT& panel, const std::string& text, COLORREF color, COLORREF background,
                      HFONT font)
{
    TSavedDc saved(dc);
    SelectObject(dc, font);
    SetBkColor(dc, background);
    SetTextColor(dc, color);
    // The opaque rectangle is the whole panel, not the text's cell; the text itself is not
    // clipped to it.
    ExtTextOutA(dc, panel.left, panel.top, ETO_OPAQUE, &panel, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
}

void PaintProgressPanel(HDC dc, const RECT& panel, const std::string& text, HFONT font)
{
    int32_t percent = ParsePanelPercent(text);
    if (percent == 0) {
        FillRect(dc, &panel, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    TSavedDc saved(dc);
    SelectObject(dc, font);
    SetBkMode(dc, OPAQUE);
    std::string label = text + "%";
    SIZE size{};
    GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size);
    TProgressGeometry at =
        ProgressGeometry(panel.left, panel.top, panel.right, panel.bottom, percent, size.cx, size.cy);
    RECT bar = {panel.left, panel.top, at.Split, panel.bottom};
    RECT rest = {at.Split, panel.top, panel.right, panel.bottom};
    DrawClipped(dc, bar, at.LabelX, at.LabelY, label, COLOR_BLUE, COLOR_WHITE);
    DrawClipped(dc, rest, at.LabelX, at.LabelY, label, COLOR_WHITE, COLOR_BLUE);
}
