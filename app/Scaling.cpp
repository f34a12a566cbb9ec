#include "Scaling.h"

#include <algorithm>

namespace {

int WindowWidth(int dpi, const TFrame& frame) { return frame.Left + ScaleLength(CLIENT_WIDTH, dpi) + frame.Right; }
int WindowHeight(int dpi, const TFrame& frame) { return frame.Top + ScaleLength(CLIENT_HEIGHT, dpi) + frame.Bottom; }

// Along one axis: the window's start kept inside [start, start + length) where it fits, else at
// the start, so its title bar and close box stay reachable.
int KeepInside(int at, int size, int start, int length) { return std::max(start, std::min(at, start + length - size)); }

} // namespace

int LayoutDpi(int monitorDpi, const TFrame& frame, const TBounds& workArea)
{
    const int lowest = std::min(monitorDpi, BASE_DPI);
    int dpi = monitorDpi;
    while (dpi > lowest && (WindowWidth(dpi, frame) > workArea.Width || WindowHeight(dpi, frame) > workArea.Height))
        --dpi;
    return dpi;
}

TWindowFit FitOpening(int monitorDpi, const TFrame& frame, const TBounds& workArea)
{
    const int dpi = LayoutDpi(monitorDpi, frame, workArea);
    const int width = WindowWidth(dpi, frame);
    const int height = WindowHeight(dpi, frame);
    const int left = workArea.Left + (workArea.Width - width) / 2;
    const int top = workArea.Top + (workArea.Height - height) / 2;
    return {dpi, {KeepInside(left, width, workArea.Left, workArea.Width),
                  KeepInside(top, height, workArea.Top, workArea.Height), width, height}};
}

TWindowFit FitMoved(int monitorDpi, const TFrame& frame, const TBounds& workArea, const TBounds& suggested)
{
    const int dpi = LayoutDpi(monitorDpi, frame, workArea);
    return {dpi, {suggested.Left, suggested.Top, WindowWidth(dpi, frame), WindowHeight(dpi, frame)}};
}
