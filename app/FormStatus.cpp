/*
 * The main window's status bar and progress: the status text, the progress estimate that the
 * 100 ms timer advances, the panel painter, and the buttons' enabled state. Status text and
 * progress are repainted before the call returns, because the run keeps the user-interface
 * thread busy afterwards.
 */
#include "FormMain.h"

#include "ProgressMath.h"
#include "StatusPainter.h"

#include "base/PaintFlush.h"
#include "base/Trace.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>

void TFormMain::ShowStatus(const char* text, COLORREF color)
{
    if (NotShownYet)
        return;
    std::string shown = text ? text : "";
    const bool changed = shown != PanelText[0] || color != StatusColor;
    StatusColor = color;
    PanelText[0] = std::move(shown);
    Trace("status %s %s", TraceQuote(PanelText[0]).c_str(), TraceColor(StatusColor).c_str());
    if (changed)
        RepaintStatusBar(0);
}

void TFormMain::SetProgress(int32_t percent)
{
    if (NotShownYet)
        return;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(percent));
    const bool changed = PanelText[1] != digits;
    PanelText[1] = digits;
    Trace("progress %d", static_cast<int>(percent));
    if (changed)
        RepaintStatusBar(1);
}

// Only a panel whose content changed is repainted, and only that panel: every synchronous
// repaint holds up the run (a press starts its progress at the 0 the last one stopped at).
// The panel is painted straight into the bar, where the bar's own paint last put it, instead
// of asking the bar to repaint: the bar's own paint round (invalidate, WM_PAINT, the border,
// then WM_DRAWITEM back to this window) costs about a millisecond a time under Wine, and a
// press changes the panels seven times. Before the bar's first paint the area is unknown and
// the bar paints itself.
void TFormMain::RepaintStatusBar(int panel)
{
    if (!StatusBar)
        return;
    const RECT& area = PanelArea[panel];
    if (!IsRectEmpty(&area)) {
        if (HDC dc = GetDC(StatusBar)) {
            StatusBarDrawPanel(panel, dc, area);
            ReleaseDC(StatusBar, dc);
        }
    } else {
        RECT bounds;
        if (!SendMessageA(StatusBar, SB_GETRECT, panel, reinterpret_cast<LPARAM>(&bounds)))
            return;
        RedrawWindow(StatusBar, &bounds, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ShowPaintedNow();
}

void TFormMain::StartProgress()
{
    LastProgress = -1;
    SetProgress(0);
    ProgressStartTick = GetTickCount();
    if (Window)
        SetTimer(Window, ID_TIMER_PROGRESS, PROGRESS_INTERVAL_MS, nullptr);
}

void TFormMain::StopProgress()
{
    if (Window)
        KillTimer(Window, ID_TIMER_PROGRESS);
    SetProgress(0);
}

void TFormMain::TimerProgressTimer()
{
    if (auto percent = ProgressStep(GetTickCount() - ProgressStartTick, ExpectedRunMs, LastProgress)) {
        SetProgress(*percent);
        LastProgress = *percent;
    }
}

void TFormMain::StatusBarDrawPanel(int panel, HDC dc, const RECT& rect)
{
    if (panel < 0 || panel > 1)
        return;
    PanelArea[panel] = rect;
    if (NotShownYet)
        return;
    if (panel == 0) {
        const TInk ink = InkOf(TTextPlace::StatusPanel, StatusColor, Scheme);
        PaintStatusPanel(dc, rect, PanelText[0], ink.Text, Scheme[ink.Background], StatusFont.Get());
    } else {
        PaintProgressPanel(dc, rect, PanelText[1], StatusFont.Get());
    }
}

void TFormMain::EnableButtons(bool enabled)
{
    for (HWND button : {ButtonOrba[0], ButtonOrba[1], ButtonOrba[2], ButtonOrba[3], ButtonExit})
        if (button)
            EnableWindow(button, enabled);
    Trace("buttons %s", enabled ? "enabled" : "disabled");
    // Each button only asked for its paint (ButtonProc). Disabled, they are painted now,
    // in one pass: the run that disabled them may process no messages until its end (a press
    // on a held board does not), and the operator must see that they cannot be pressed. The
    // enabled look comes with the message loop the run returns to.
    if (!enabled && Window) {
        RedrawWindow(Window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ShowPaintedNow();
    }
}
