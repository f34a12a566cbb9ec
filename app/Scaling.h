/*
 * The window's size at a monitor's DPI. The layout is drawn in client pixels at 96 dpi; on a
 * scaled monitor every edge is scaled by the layout's DPI, which is the monitor's unless the
 * whole window (client and frame) would then not fit the monitor's work area: there the
 * largest DPI that fits is taken, so the status bar, where every failure is told, stays in
 * sight. Never below 96 dpi (or the monitor's own, if lower): at 96 dpi every position and
 * size is the layout's own. No windows.h: the arithmetic takes the monitor's DPI, its work
 * area and the frame's thickness as arguments, so any monitor can be given to it.
 */
#pragma once

#include "Layout.h"

inline constexpr int BASE_DPI = 96;

// A length or a coordinate of the layout (not negative) at the DPI, rounded to the nearest pixel.
constexpr int ScaleLength(int pixels, int dpi) { return (pixels * dpi + BASE_DPI / 2) / BASE_DPI; }

// A rectangle of the layout at the DPI. Its edges are scaled, not its size, so neighbours that
// meet at 96 dpi meet at every DPI.
constexpr TBounds ScaleBounds(const TBounds& bounds, int dpi)
{
    const int left = ScaleLength(bounds.Left, dpi);
    const int top = ScaleLength(bounds.Top, dpi);
    return {left, top, ScaleLength(bounds.Right(), dpi) - left, ScaleLength(bounds.Bottom(), dpi) - top};
}

// How much the frame (borders and title bar) adds on each side of the client area, at the
// monitor's DPI.
struct TFrame {
    int Left;
    int Top;
    int Right;
    int Bottom;
};

struct TWindowFit {
    int Dpi;        // the layout's DPI
    TBounds Window; // the outer window rectangle, in screen coordinates
};

// The DPI the layout is drawn at on this monitor.
int LayoutDpi(int monitorDpi, const TFrame& frame, const TBounds& workArea);

// The window opening on a monitor: centred in its work area.
TWindowFit FitOpening(int monitorDpi, const TFrame& frame, const TBounds& workArea);

// The window moved onto a monitor of another DPI: at the system's suggested place, which is
// on that monitor (a window pulled back inside its work area would jump under the mouse that
// drags it), at the size the monitor's work area allows.
TWindowFit FitMoved(int monitorDpi, const TFrame& frame, const TBounds& workArea, const TBounds& suggested);
