/*
 * Thin wrappers around the main window's controls: public fields, a creation-args struct, and
 * setters that change what the operator sees and leave a trace line; all but a label's
 * caption (painted with the label's next paint, as any control's text) repaint at once. The
 * labels and the list are real child windows; the outlines are painted by the main window
 * itself (they are not windows), with their hints held by the window's tooltip control.
 *
 * Trace lines written here (only when the state really changes):
 *     outline <Name> visible <RRGGBB>        outline <Name> hidden
 *     hint <Name> "<text>"
 *     label <Name> visible|hidden <RRGGBB> "<caption>"
 *     memo <Name> visible|hidden             memo <Name> clear
 *     memo <Name> line "<text>"
 */
#pragma once

#include "Layout.h"

#include <windows.h>

#include <functional>
#include <string>

struct TControlArgs {
    const char* ClassName = "";
    const char* Text = "";
    DWORD Style = 0;
    DWORD ExStyle = 0;
    TBounds Bounds{};
    int Id = 0;
    HFONT Font = nullptr;
};

// A visible child window of the parent, with the font set; throws when it cannot be made.
HWND CreateControl(HWND parent, const TControlArgs& args);

// A rectangle outline with a 3-pixel pen (at 96 dpi) and a transparent inside, drawn over the
// picture.
struct TShape {
    const char* Name = "";
    TBounds Bounds{};
    int PenWidth = SHAPE_PEN_WIDTH;
    COLORREF PenColor = COLOR_AQUA;
    bool Visible = false;
    std::string Hint;
    HWND Parent = nullptr;  // the window it is drawn on
    // Paints the parent's surface in one of its areas at once (the parent's own painter).
    std::function<void(const RECT&)> PaintArea;
    HWND Tooltip = nullptr; // holds the hint; none for the hover outlines
    UINT ToolId = 0;

    // Visibility and pen color together, then a synchronous repaint of the outline.
    void Set(bool visible, COLORREF penColor);
    void SetHint(const std::string& hint);
    // A new place and pen, for another DPI; painted with the window's next paint.
    void Place(const TBounds& bounds, int penWidth);
    void Paint(HDC dc) const;

private:
    void Repaint() const;
    void UpdateToolRect() const;
};

// A text label over the window's surface. It takes the mouse like the surface under it does
// not; a growing label widens with its caption from its laid-out size, any other keeps it.
struct TLabel {
    const char* Name = "";
    HWND Window = nullptr;
    TBounds Bounds{};
    std::string Caption;
    COLORREF Color = COLOR_BLACK;
    bool Visible = true;
    bool Grows = false;
    HFONT Font = nullptr;

    // A new caption is painted with the window's next paint, like any text of a control.
    void SetCaption(const std::string& caption);
    // Visibility; the font color changes only when the label is made visible. What the label
    // is waiting to show (a caption set before included) is painted before the call returns.
    void SetState(bool visible, COLORREF color);
    // A new laid-out place and font, for another DPI.
    void Place(const TBounds& bounds, HFONT font);

private:
    void PaintNow() const;
    void FitCaption() const;
};

// The read-only list of faulty pin pairs.
struct TMemo {
    const char* Name = "";
    HWND Window = nullptr;
    bool Visible = true;

    void Clear();
    void AppendLine(const std::string& line);
    void SetVisible(bool visible);
};

// The tooltip control that shows the result outlines' hints, several lines each.
HWND CreateHintTooltip(HWND parent);
// A tool of the parent's for one outline; the parent relays its mouse messages to the tooltip.
void AddHintTool(HWND tooltip, HWND parent, UINT toolId);
