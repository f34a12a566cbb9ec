/*
 * The main window's own surface: the board picture with its eight outlines painted over it,
 * the hover outlines that follow the mouse over the connector buttons, the cursors, and the
 * colors of the labels and the list. The outlines are not windows, so the window decides
 * what is under the mouse: a visible outline takes the mouse like a control does. The colours
 * the texts and the surface are drawn in follow the system's scheme (TextInk.h).
 */
#include "FormMain.h"

#include "base/Assert.h"
#include "base/DcGuards.h"
#include "base/Trace.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr char ASSERT_UNIT[] = "UnitMain";

} // namespace

void TFormMain::OnPaint()
{
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(Window, &paint);
    PaintSurface(screen, paint.rcPaint);
    EndPaint(Window, &paint);
}

// An outline's change is painted at once, straight into the window: asking for it through an
// invalidation and WM_PAINT takes three more trips to the window server under Wine, and a
// press changes an outline three times.
void TFormMain::PaintAreaNow(const RECT& area)
{
    if (!Window)
        return;
    if (HDC screen = GetDC(Window)) {
        PaintSurface(screen, area);
        ReleaseDC(Window, screen);
    }
}

void TFormMain::PaintSurface(HDC screen, const RECT& area)
{
    // Painted off screen and copied in one go, so an outline never flickers over the picture.
    // Only the area asked for is composed: an outline's repaint must not cost a whole window.
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    UniqueMemoryDc buffer(CreateCompatibleDC(screen));
    UniqueBitmap surface(width > 0 && height > 0 ? CreateCompatibleBitmap(screen, width, height) : nullptr);
    if (!buffer || !surface)
        return;
    TSelectedObject selectedSurface(buffer.Get(), surface.Get());
    SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);
    const TSchemeSlot background = BackgroundOf(TTextPlace::Surface, Scheme.HighContrast);
    FillRect(buffer.Get(), &area, GetSysColorBrush(SysColorIndex(background)));
    if (Picture) {
        const TBounds image = ScaleBounds(IMAGE_KV7, Dpi);
        RECT picture = {image.Left, image.Top, image.Right(), image.Bottom()};
        RECT part;
        if (IntersectRect(&part, &picture, &area)) {
            UniqueMemoryDc pictureDc(CreateCompatibleDC(screen));
            TSelectedObject selectedPicture(pictureDc.Get(), PictureAtDpi ? PictureAtDpi.Get() : Picture.Get());
            BitBlt(buffer.Get(), part.left, part.top, part.right - part.left, part.bottom - part.top,
                   pictureDc.Get(), part.left - image.Left, part.top - image.Top, SRCCOPY);
        }
    }
    for (int index : HOVER_Z_ORDER)
        Shape[index].Paint(buffer.Get());
    for (int index : RESULT_Z_ORDER)
        ShapeOrba[index].Paint(buffer.Get());
    SetViewportOrgEx(buffer.Get(), 0, 0, nullptr);
    BitBlt(screen, area.left, area.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

bool TFormMain::OverVisibleShape(int x, int y) const
{
    for (const TShape* shapes : {Shape, ShapeOrba})
        for (int i = 0; i < 4; ++i)
            if (shapes[i].Visible && shapes[i].Bounds.Contains(x, y))
                return true;
    return false;
}

bool TFormMain::OverVisibleResultShape(int x, int y) const
{
    for (const TShape& shape : ShapeOrba)
        if (shape.Visible && shape.Bounds.Contains(x, y))
            return true;
    return false;
}

void TFormMain::OnMouseMove(int x, int y)
{
    // Over a visible outline the mouse is over that outline, which has no handler.
    if (OverVisibleShape(x, y))
        return;
    if (ScaleBounds(IMAGE_KV7, Dpi).Contains(x, y))
        ImageKV7MouseMove();
    else
        FormMouseMove();
}

void TFormMain::ButtonOrbaMouseMove(HWND sender)
{
    auto button = std::find(std::begin(ButtonOrba), std::end(ButtonOrba), sender);
    // Another sender is a programming error. The report names the expression "0", as this
    // check's report has always read; asserting the condition itself would name another.
    if (button == std::end(ButtonOrba))
        KV7_ASSERT(0);
    Shape[button - std::begin(ButtonOrba)].Set(true, COLOR_YELLOW);
}

void TFormMain::FormMouseMove() { HideHoverShapes(); }

void TFormMain::ImageKV7MouseMove() { HideHoverShapes(); }

void TFormMain::HideHoverShapes()
{
    for (TShape& shape : Shape)
        shape.Set(false, shape.PenColor);
}

void TFormMain::SetFormCursor(LPCSTR systemCursor)
{
    FormCursor = systemCursor ? SystemCursor(systemCursor) : nullptr;
    // Show it now if the mouse rests on the window, not only at its next move.
    POINT at;
    if (Window && GetCursorPos(&at)) {
        HWND under = WindowFromPoint(at);
        if (under == Window || under == LabelResult.Window || under == LabelError.Window)
            SetCursor(CursorOver(under, at));
    }
}

bool TFormMain::OnSetCursor(HWND under, int hitTest)
{
    if (hitTest != HTCLIENT)
        return false;
    POINT at{};
    if (under == Window)
        GetCursorPos(&at);
    HCURSOR cursor = CursorOver(under, at);
    if (cursor)
        SetCursor(cursor);
    return cursor != nullptr;
}

HCURSOR TFormMain::CursorOver(HWND under, POINT at) const
{
    HCURSOR formCursor = FormCursor ? FormCursor : SystemCursor(IDC_ARROW);
    if (under == MemoError.Window || std::find(std::begin(ButtonOrba), std::end(ButtonOrba), under) !=
                                         std::end(ButtonOrba) || under == ButtonExit)
        return SystemCursor(IDC_HAND);
    if (under == LabelResult.Window || under == LabelError.Window)
        return formCursor;
    if (under != Window)
        return nullptr;
    ScreenToClient(Window, &at);
    return OverVisibleResultShape(at.x, at.y) ? SystemCursor(IDC_HELP) : formCursor;
}

// The system's shared cursors are loaded once: they never change or go away, and a press
// switches the cursor twice (each load is a trip to the window server under Wine).
HCURSOR TFormMain::SystemCursor(LPCSTR id)
{
    struct TLoaded {
        LPCSTR Id;
        HCURSOR Cursor;
    };
    static TLoaded loaded[8];
    static size_t count = 0;
    for (size_t i = 0; i < count; ++i)
        if (loaded[i].Id == id)
            return loaded[i].Cursor;
    HCURSOR cursor = LoadCursorA(nullptr, id);
    if (cursor && count < std::size(loaded))
        loaded[count++] = {id, cursor};
    return cursor;
}

LRESULT TFormMain::OnControlColor(HDC dc, HWND control)
{
    if (control == MemoError.Window)
        return InkControl(dc, TTextPlace::List, COLOR_MAROON);
    for (const TLabel* label : {&LabelResult, &LabelError})
        if (control == label->Window)
            return InkControl(dc, TTextPlace::Surface, label->Color);
    return DefWindowProcA(Window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT TFormMain::InkControl(HDC dc, TTextPlace place, COLORREF color) const
{
    const TInk ink = InkOf(place, color, Scheme);
    SetTextColor(dc, ink.Text);
    SetBkColor(dc, Scheme[ink.Background]);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(SysColorIndex(ink.Background)));
}

TScheme TFormMain::ReadScheme()
{
    TScheme scheme;
    HIGHCONTRASTA highContrast{};
    highContrast.cbSize = sizeof highContrast;
    // Wine always answers that high contrast is off.
    scheme.HighContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
                          (highContrast.dwFlags & HCF_HIGHCONTRASTON);
    for (int slot = 0; slot < static_cast<int>(TSchemeSlot::Count); ++slot)
        scheme.Colors[slot] = GetSysColor(SysColorIndex(static_cast<TSchemeSlot>(slot)));
    return scheme;
}

void TFormMain::ApplyScheme(const TScheme& scheme)
{
    if (scheme.HighContrast != Scheme.HighContrast)
        Trace("high contrast %s", scheme.HighContrast ? "on" : "off");
    Scheme = scheme;
    if (Window)
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int TFormMain::SysColorIndex(TSchemeSlot slot)
{
    switch (slot) {
    case TSchemeSlot::Window:
        return COLOR_WINDOW;
    case TSchemeSlot::WindowText:
        return COLOR_WINDOWTEXT;
    case TSchemeSlot::ButtonFace:
        return COLOR_BTNFACE;
    case TSchemeSlot::ButtonText:
        return COLOR_BTNTEXT;
    case TSchemeSlot::InactiveCaption:
    case TSchemeSlot::Count:
        break;
    }
    return COLOR_INACTIVECAPTION;
}
