#include "Controls.h"

#include "Exception.h"

#include "base/DcGuards.h"
#include "base/Handles.h"
#include "base/PaintFlush.h"
#include "base/Trace.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

// The outlines' pens, one per colour and width, made at the first paint that needs them and
// kept: a paint inside a run should not make and destroy GDI objects. An outline takes four
// colours, at one width per DPI the window was shown at.
HPEN OutlinePen(COLORREF color, int width)
{
    struct TPen {
        COLORREF Color;
        int Width;
        UniquePen Pen;
    };
    static std::vector<TPen> pens;
    for (const TPen& pen : pens)
        if (pen.Color == color && pen.Width == width)
            return pen.Pen.Get();
    // An inside-frame pen keeps the line within the outline's bounds.
    pens.push_back({color, width, UniquePen(CreatePen(PS_INSIDEFRAME, width, color))});
    return pens.back().Pen.Get();
}

} // namespace

HWND CreateControl(HWND parent, const TControlArgs& args)
{
    HWND window = CreateWindowExA(args.ExStyle, args.ClassName, args.Text,
                                  WS_CHILD | WS_VISIBLE | args.Style, args.Bounds.Left, args.Bounds.Top,
                                  args.Bounds.Width, args.Bounds.Height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.Id)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw TException(std::string("Cannot create the control of class ") + args.ClassName);
    if (args.Font)
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(args.Font), FALSE);
    return window;
}

void TShape::Set(bool visible, COLORREF penColor)
{
    if (visible == Visible && penColor == PenColor)
        return;
    Visible = visible;
    PenColor = penColor;
    if (Visible)
        Trace("outline %s visible %s", Name, TraceColor(PenColor).c_str());
    else
        Trace("outline %s hidden", Name);
    UpdateToolRect();
    Repaint();
}

void TShape::Place(const TBounds& bounds, int penWidth)
{
    Bounds = bounds;
    PenWidth = penWidth;
    UpdateToolRect();
}

void TShape::UpdateToolRect() const
{
    if (!Tooltip)
        return;
    // A hidden outline shows no hint: its tool shrinks to nothing.
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = Parent;
    tool.uId = ToolId;
    if (Visible)
        tool.rect = {Bounds.Left, Bounds.Top, Bounds.Right(), Bounds.Bottom()};
    SendMessageA(Tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TShape::SetHint(const std::string& hint)
{
    if (hint == Hint)
        return;
    Hint = hint;
    Trace("hint %s %s", Name, TraceQuote(Hint).c_str());
    if (Tooltip) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = Parent;
        tool.uId = ToolId;
        tool.lpszText = Hint.data();
        SendMessageA(Tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TShape::Paint(HDC dc) const
{
    if (!Visible)
        return;
    TSelectedObject selectedPen(dc, OutlinePen(PenColor, PenWidth));
    TSelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, Bounds.Left, Bounds.Top, Bounds.Right(), Bounds.Bottom());
}

void TShape::Repaint() const
{
    if (!PaintArea)
        return;
    // Only the window's own surface: controls waiting for a repaint (the buttons after an
    // enable) paint with the next message pass instead of inside the run.
    PaintArea({Bounds.Left, Bounds.Top, Bounds.Right(), Bounds.Bottom()});
    ShowPaintedNow();
}

void TLabel::SetCaption(const std::string& caption)
{
    if (caption == Caption)
        return;
    Caption = caption;
    Trace("label %s %s %s %s", Name, Visible ? "visible" : "hidden", TraceColor(Color).c_str(),
          TraceQuote(Caption).c_str());
    if (!Window || !IsWindow(Window))
        return;
    SetWindowTextA(Window, Caption.c_str());
    FitCaption();
    if (Visible)
        InvalidateRect(Window, nullptr, TRUE);
}

void TLabel::FitCaption() const
{
    if (!Grows)
        return;
    SIZE text{};
    if (HDC dc = GetDC(Window)) {
        {
            TSelectedObject selected(dc, Font);
            GetTextExtentPoint32A(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text);
        }
        ReleaseDC(Window, dc);
    }
    // Resized only when the size changes: a resize is a trip to the window server and
    // uncovers the window beneath, and an empty caption keeps the laid-out size.
    const int width = std::max<int>(Bounds.Width, text.cx);
    const int height = std::max<int>(Bounds.Height, text.cy);
    RECT now{};
    GetClientRect(Window, &now);
    if (now.right != width || now.bottom != height)
        SetWindowPos(Window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Place(const TBounds& bounds, HFONT font)
{
    Bounds = bounds;
    Font = font;
    if (!Window || !IsWindow(Window))
        return;
    SendMessageA(Window, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    SetWindowPos(Window, nullptr, Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    FitCaption();
}

void TLabel::SetState(bool visible, COLORREF color)
{
    COLORREF newColor = visible ? color : Color;
    if (visible == Visible && newColor == Color) {
        PaintNow();
        return;
    }
    const bool shown = visible != Visible;
    Visible = visible;
    Color = newColor;
    Trace("label %s %s %s %s", Name, Visible ? "visible" : "hidden", TraceColor(Color).c_str(),
          TraceQuote(Caption).c_str());
    if (!Window || !IsWindow(Window))
        return;
    if (shown)
        ShowWindow(Window, Visible ? SW_SHOWNA : SW_HIDE);
    else if (Visible)
        InvalidateRect(Window, nullptr, TRUE);
    PaintNow();
}

void TLabel::PaintNow() const
{
    // Only what is waiting to be painted (a new caption, a new colour, a label just shown), and
    // only then put on the screen.
    if (!Visible || !Window || !IsWindow(Window) || !GetUpdateRect(Window, nullptr, FALSE))
        return;
    UpdateWindow(Window);
    ShowPaintedNow();
}

void TMemo::Clear()
{
    if (!Window || GetWindowTextLengthA(Window) == 0)
        return;
    Trace("memo %s clear", Name);
    SetWindowTextA(Window, "");
}

void TMemo::AppendLine(const std::string& line)
{
    if (!Window)
        return;
    Trace("memo %s line %s", Name, TraceQuote(line).c_str());
    std::string text = line + "\r\n";
    int end = GetWindowTextLengthA(Window);
    SendMessageA(Window, EM_SETSEL, end, end);
    SendMessageA(Window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMemo::SetVisible(bool visible)
{
    if (visible == Visible)
        return;
    Visible = visible;
    Trace("memo %s %s", Name, Visible ? "visible" : "hidden");
    if (Window)
        ShowWindow(Window, Visible ? SW_SHOWNA : SW_HIDE);
}

HWND CreateHintTooltip(HWND parent)
{
    HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tooltip)
        throw TException("Cannot create the hint window");
    // A width limit is what makes the tooltip break its text at line feeds.
    constexpr int HINT_MAX_WIDTH = 600;
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, HINT_MAX_WIDTH);
    return tooltip;
}

void AddHintTool(HWND tooltip, HWND parent, UINT toolId)
{
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = 0; // the parent relays the mouse (TTM_RELAYEVENT)
    tool.hwnd = parent;
    tool.uId = toolId;
    tool.lpszText = const_cast<char*>("");
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
