/*
 * The main window at its monitor's DPI. The program is per-monitor DPI aware, so Windows no
 * longer enlarges the window as a picture (blurred text and board): the window scales its
 * layout, fonts and picture itself, by the layout's DPI, which is the monitor's as far as the
 * whole window then fits the monitor's work area (Scaling.h). It opens centred in the work
 * area of the primary monitor, where a window without a place of its own opens, and follows a
 * move to a monitor of another DPI (WM_DPICHANGED). At 96 dpi nothing of the layout moves.
 *
 * Wine draws every monitor at the one DPI of its registry and never sends WM_DPICHANGED; the
 * window's answer to it is the one Windows documents: the suggested rectangle, the controls
 * laid out again, the fonts made anew.
 */
#include "FormMain.h"

#include "Fonts.h"
#include "MonitorDpi.h"

#include "base/DcGuards.h"
#include "base/Trace.h"

#include <commctrl.h>

namespace {

constexpr int ERROR_FONT_PIXELS = 13;

void TraceLayout(int dpi, int monitorDpi, const TBounds& window, const TBounds& work)
{
    Trace("window %d dpi on a %d dpi monitor, %d,%d %dx%d in the work area %d,%d %dx%d", dpi, monitorDpi, window.Left,
          window.Top, window.Width, window.Height, work.Left, work.Top, work.Width, work.Height);
}

// The picture at the layout's size. HALFTONE averages the picture's pixels under each pixel
// of the copy, where the other modes drop or double whole rows and columns; it takes the
// brush origin set after the mode.
UniqueBitmap ScaledPicture(HBITMAP picture, int dpi)
{
    const TBounds size = ScaleBounds(IMAGE_KV7, dpi);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.Width;
    info.bmiHeader.biHeight = size.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TScreenDc screen;
    UniqueBitmap scaled(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc from(CreateCompatibleDC(screen.Get()));
    UniqueMemoryDc to(CreateCompatibleDC(screen.Get()));
    if (!scaled || !from || !to)
        return {};
    TSelectedObject selectedFrom(from.Get(), picture);
    TSelectedObject selectedTo(to.Get(), scaled.Get());
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    if (!StretchBlt(to.Get(), 0, 0, size.Width, size.Height, from.Get(), 0, 0, IMAGE_KV7.Width, IMAGE_KV7.Height,
                    SRCCOPY))
        return {};
    return scaled;
}

} // namespace

TBounds TFormMain::OpenOnMonitor()
{
    // A window placed by the program opens on the primary monitor, whose top-left is 0,0.
    HMONITOR monitor = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    const int monitorDpi = MonitorDpi(monitor);
    const TBounds work = WorkAreaOf(monitor);
    const TWindowFit fit = FitOpening(monitorDpi, FrameAt(FORM_STYLE, FORM_EX_STYLE, monitorDpi), work);
    Dpi = fit.Dpi;
    TraceLayout(fit.Dpi, monitorDpi, fit.Window, work);
    MakeScaledResources();
    return fit.Window;
}

void TFormMain::OnDpiChanged(int monitorDpi, const RECT& suggested)
{
    HMONITOR monitor = MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST);
    const TBounds work = WorkAreaOf(monitor);
    const TBounds place = {suggested.left, suggested.top, suggested.right - suggested.left,
                           suggested.bottom - suggested.top};
    const TWindowFit fit = FitMoved(monitorDpi, FrameAt(FORM_STYLE, FORM_EX_STYLE, monitorDpi), work, place);
    TraceLayout(fit.Dpi, monitorDpi, fit.Window, work);
    if (fit.Dpi != Dpi) {
        Dpi = fit.Dpi;
        // The controls hold the old fonts until they have the new ones.
        UniqueFont oldFonts[] = {std::move(FormFont), std::move(ErrorFont), std::move(StatusFont)};
        MakeScaledResources();
        LayOutControls();
    }
    SetWindowPos(Window, nullptr, fit.Window.Left, fit.Window.Top, fit.Window.Width, fit.Window.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TFormMain::MakeScaledResources()
{
    FormFont = CreateFormFont(Dpi);
    ErrorFont = CreateArialFont(ScaleLength(ERROR_FONT_PIXELS, Dpi));
    StatusFont = CreateStatusFont(Dpi);
    PictureAtDpi.Reset();
    if (Dpi != BASE_DPI && Picture)
        PictureAtDpi = ScaledPicture(Picture.Get(), Dpi);
}

void TFormMain::LayOutControls()
{
    struct TPlaced {
        HWND Control;
        TBounds Bounds;
        HFONT Font;
    };
    const TPlaced placed[] = {
        {ButtonExit, BUTTON_EXIT, FormFont.Get()},         {ButtonOrba[0], BUTTON_ORBA[0], FormFont.Get()},
        {ButtonOrba[1], BUTTON_ORBA[1], FormFont.Get()},   {ButtonOrba[2], BUTTON_ORBA[2], FormFont.Get()},
        {ButtonOrba[3], BUTTON_ORBA[3], FormFont.Get()},   {MemoError.Window, MEMO_ERROR, ErrorFont.Get()},
        {StatusBar, STATUS_BAR, StatusFont.Get()},
    };
    for (const TPlaced& control : placed) {
        const TBounds at = ScaleBounds(control.Bounds, Dpi);
        SendMessageA(control.Control, WM_SETFONT, reinterpret_cast<WPARAM>(control.Font), FALSE);
        SetWindowPos(control.Control, nullptr, at.Left, at.Top, at.Width, at.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LabelResult.Place(ScaleBounds(LABEL_RESULT, Dpi), FormFont.Get());
    LabelError.Place(ScaleBounds(LABEL_ERROR, Dpi), ErrorFont.Get());

    int parts[2] = {ScaleLength(STATUS_PANEL0_WIDTH, Dpi), -1};
    SendMessageA(StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    // The bar tells the panels' new places at its next paint.
    PanelArea[0] = PanelArea[1] = RECT{};

    const int pen = ScaleLength(SHAPE_PEN_WIDTH, Dpi);
    for (int i = 0; i < 4; ++i) {
        Shape[i].Place(ScaleBounds(SHAPE_HOVER[i], Dpi), pen);
        ShapeOrba[i].Place(ScaleBounds(SHAPE_RESULT[i], Dpi), pen);
    }
}
