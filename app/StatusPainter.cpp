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

void PaintStatusPanel(HDC dc, const RECT& panel, const std::string& text, COLORREF color, HFONT font)
{
    TSavedDc saved(dc);
    SelectObject(dc, font);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, color);
    TextOutA(dc, panel.left, panel.top, text.c_str(), static_cast<int>(text.size()));
}

void PaintProgressPanel(HDC dc, const RECT& panel, const std::string& text, HFONT font)
{
    int32_t percent = ParsePanelPercent(text);
    if (percent == 0)
        return;
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
