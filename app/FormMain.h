/*
 * TFormMain, the tool's one window. The class is defined in two folders: its window part here
 * in app/ (layout, status bar, progress, waits, hover outlines, closing) and its inspection
 * part in inspection/ (the run behind the connector buttons, the result display, bring-up).
 * One object, created once by the application, kept until the message loop has ended; the
 * window itself may go before the object does, never the other way round.
 *
 * Trace lines written by the window part (see also Controls.h):
 *     status "<text>" <RRGGBB>     progress <n>     buttons enabled|disabled
 *     window font "<face>"         speed factor <f> (<ms> ms)
 *     close refused | close granted | close deferred until the run ends | window destroyed
 *     session ends
 * The inspection part's own lines (run start and end, the board's release, the detected
 * device) are listed where they are written, in inspection/InspectionRun.cpp and BringUp.cpp.
 */
#pragma once

#include "Controls.h"
#include "Layout.h"

#include "base/Handles.h"
#include "board/Board.h"
#include "inspection/BoardType.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class TFormMain {
public:
    TFormMain();
    ~TFormMain();
    TFormMain(const TFormMain&) = delete;
    TFormMain& operator=(const TFormMain&) = delete;

    // The window, or none once it has been destroyed.
    HWND Handle() const { return Window; }
    void Show();

    // Marks an inspection run in progress for as long as it lives. A close granted meanwhile
    // stops the run at its next wait or box (TRunStopped) and leaves the window on the screen
    // until the run's guard goes. A guard that could not be
    // taken (a run is already in progress, or the window is closing) is false, and the caller
    // must not start its run.
    class TRunGuard {
    public:
        explicit TRunGuard(TFormMain& form);
        ~TRunGuard();
        TRunGuard(const TRunGuard&) = delete;
        TRunGuard& operator=(const TRunGuard&) = delete;
        explicit operator bool() const { return Held; }

    private:
        TFormMain& Form;
        bool Held;
    };

    // --- what the inspection run uses to report and to stay responsive -------------------
    void ShowStatus(const char* text, COLORREF color);
    void SetProgress(int32_t percent);
    void StartProgress();
    void StopProgress();
    void EnableButtons(bool enabled);
    void WaitMs(DWORD milliseconds);
    // The cursor over the window's own surface and labels: a system cursor such as IDC_WAIT,
    // or none for the normal arrow.
    void SetFormCursor(LPCSTR systemCursor);

    // --- event handlers ----------------------------------------------------------------------
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void ButtonExitClick();
    void TimerProgressTimer();
    void ButtonOrbaMouseMove(HWND sender);
    void FormMouseMove();
    void ImageKV7MouseMove();
    void StatusBarDrawPanel(int panel, HDC dc, const RECT& rect);

    static float CalibrateSpeed();

    // --- the inspection part (inspection/) -------------------------------------------------
    void ButtonOrbaClick(HWND sender);
    void RunInspection(HWND sender);
    bool TestConnector(int32_t index);
    void ClearResults();
    void MarkShape(TShape& shape, bool visible, COLORREF color);
    void MarkLabel(TLabel& label, bool visible, COLORREF color);
    void InitPairTable();
    bool BringUpBoard();
    BoardType DetectBoardType();
    // Named like its type, so that the precondition reads as the operator's report shows it.
    bool DownloadSof(BoardType BoardType);
    static const char* BoardTypeLabel(BoardType type);
    void ReleaseBoard();

    // --- the controls, for the inspection part and the tests ---------------------------------
    HWND ButtonOrba[4] = {};
    HWND ButtonExit = nullptr;
    HWND StatusBar = nullptr;
    HWND HintTooltip = nullptr;
    TShape Shape[4];     // hover outlines ShapeA..ShapeD, by connector index
    TShape ShapeOrba[4]; // result outlines ShapeOrbaA..ShapeOrbaD, by connector index
    TLabel LabelResult;
    TLabel LabelError;
    TMemo MemoError;
    std::string PanelText[2];

    // --- state, in this order ---------------------------------------------------------------
    int32_t PairFirstPin[66] = {};
    float SpeedFactor = 1.0f;
    bool WarnBeforeTest = true;
    bool Busy = false;
    COLORREF StatusColor = COLOUR_BLACK;
    uint32_t ExpectedRunMs = 28000;
    uint32_t ProgressStartTick = 0;
    int32_t LastProgress = -1;
    bool NotShownYet = true;
    // The connected board whose name read "KV7_MP", kept from one run to the next.
    std::unique_ptr<TBoard> CurrentBoard;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR form) noexcept;
    static LRESULT CALLBACK ButtonEnableProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR unused) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void OnCommand(int id, int code);
    void OnMouseMove(int x, int y);
    bool OnSetCursor(HWND under, int hitTest);
    void OnPaint();
    LRESULT OnControlColor(HDC dc, HWND control);
    void OnClose();
    void OnEndSession();
    void OnDestroyDeferred();
    void OnDestroy();
    void HideHoverShapes();
    void RepaintStatusBar(int panel);
    bool OverVisibleShape(int x, int y) const;
    bool OverVisibleResultShape(int x, int y) const;

    static constexpr UINT_PTR ID_TIMER_PROGRESS = 1;

    HWND Window = nullptr;
    UniqueFont FormFont;
    UniqueFont ErrorFont;
    UniqueFont StatusFont;
    UniqueBitmap Picture;
    HCURSOR FormCursor = nullptr;
    bool RunInProgress = false;
    bool CloseGranted = false;
    bool InCloseQuery = false;
};

// The application's one main window, set while the application holds it.
extern TFormMain* FormMain;
