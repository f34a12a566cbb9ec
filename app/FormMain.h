/*
 * TFormMain, the tool's one window. The class is defined in two folders: its window part here
 * in app/ (layout, status bar, progress, waits, hover outlines, closing) and its inspection
 * part in inspection/ (the run behind the connector buttons, the result display, bring-up).
 * One object, created once by the application, kept until the message loop has ended; the
 * window itself may go before the object does, never the other way round.
 *
 * Both parts build into one library (kv7_app). The public face is what the application, the
 * inspection part's callers and the tests need; the event handlers and the inspection part's
 * own steps are private, since both parts are members and need no more.
 *
 * Trace lines written by the window part (see also Controls.h and TRun below):
 *     status "<text>" <RRGGBB>     progress <n>     buttons enabled|disabled
 *     window font "<face>"         speed factor <f> (<ms> ms)
 *     window <d> dpi on a <m> dpi monitor, <x>,<y> <w>x<h> in the work area <x>,<y> <w>x<h>
 *     high contrast on|off
 *     close refused | close granted | close deferred until the run ends | window destroyed
 *     session ends
 * The inspection part's own lines (the board's release, the detected device) are listed where
 * they are written, in inspection/BringUp.cpp.
 */
#pragma once

#include "Controls.h"
#include "Layout.h"
#include "ProgressMath.h"
#include "Scaling.h"
#include "TextInk.h"

#include "base/Handles.h"
#include "board/Board.h"
#include "inspection/BoardType.h"
#include "inspection/RecordBook.h"
#include "inspection/RunRecord.h"

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

    // --- for the application ---------------------------------------------------------------
    // The window, or none once it has been destroyed.
    HWND Handle() const { return Window; }
    void Show();

    // One inspection run, from its first step to its last. Taking it holds the window for the
    // run: no second run starts, and a close granted meanwhile lets the run go on to its end
    // with the window on the screen; the window goes once the run has ended. A run that could
    // not be taken (one already holds the window, or the window is closing) is false, and the
    // caller must not go on.
    //
    // Begin marks the run as started (after the power warning): Busy is set and the start is
    // traced. From then on, however the run is left (an exception included), its end puts the
    // window back to idle, since a run that left the buttons disabled or Busy set would lock
    // the operator out until a restart: progress stopped, the clicks and keys made meanwhile
    // dropped, buttons enabled, normal cursor, Busy clear, and the end traced with the Outcome.
    // Then the hold goes, and a window whose close was granted during the run is destroyed.
    //
    // Its record goes to the window's book once the verdict is shown, before the buttons are.
    //
    // Trace lines:  run ORBA-<c> start    run ORBA-<c> end PASS|NG|not ready|fault|error (<ms> ms)
    class TRun {
    public:
        explicit TRun(TFormMain& form);
        ~TRun();
        TRun(const TRun&) = delete;
        TRun& operator=(const TRun&) = delete;
        explicit operator bool() const { return Held; }

        void Begin(char letter);
        const char* Outcome = "not ready";
        TRunRecord Record;

    private:
        TFormMain& Form;
        bool Held;
        bool Begun = false;
        char Letter = '?';
        DWORD StartTick = 0;
    };

    // --- for the inspection part and the tests: reporting and staying responsive ------------
    void ShowStatus(const char* text, COLORREF color);
    void SetProgress(int32_t percent);
    void StartProgress();
    void StopProgress();
    void EnableButtons(bool enabled);
    void WaitMs(DWORD milliseconds);
    // The cursor over the window's own surface and labels: a system cursor such as IDC_WAIT,
    // or none for the normal arrow.
    void SetFormCursor(LPCSTR systemCursor);
    // The colours the texts are drawn in: the system's scheme and its high-contrast switch,
    // read at the start and whenever the system says they changed. A test gives one here that
    // no test system can be put into.
    void ApplyScheme(const TScheme& scheme);
    static TScheme ReadScheme();

    // --- the inspection part (inspection/), public for the tests ----------------------------
    void ButtonOrbaClick(HWND sender);
    bool TestConnector(int32_t index);
    bool BringUpBoard();
    // Named like its type, so that the precondition reads as the operator's report shows it.
    bool DownloadSof(BoardType BoardType);
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

    // --- state, in this order; public for the tests ------------------------------------------
    float SpeedFactor = 1.0f;
    bool WarnBeforeTest = true;
    // Set while a run works, cleared when it ends or when the operator grants a close during it.
    bool Busy = false;
    COLORREF StatusColor = COLOR_BLACK;
    uint32_t ExpectedRunMs = REFERENCE_RUN_MS;
    uint32_t ProgressStartTick = 0;
    int32_t LastProgress = -1;
    bool NotShownYet = true;
    // The connected board whose name read "KV7_MP", kept from one run to the next.
    std::unique_ptr<TBoard> CurrentBoard;
    // What a run's record says of its board: the chain's first device and its model, from this
    // press's detection or from the one that brought the held board up (empty when none did),
    // how the press got its board (brought up, reused, connected; "" for none), an NG's pairs.
    struct TBoardModel {
        std::string IdCode, Device, Label;
    };
    struct TPressBoard {
        TBoardModel Model;
        const char* Came = "";
        std::string FaultyPairs;
    };
    TPressBoard PressBoard;
    // The records of the presses; the program only appends to them.
    TRecordBook Records{RecordsFolder()};

private:
    // --- event handlers (window part) --------------------------------------------------------
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

    // --- the inspection part's own steps (inspection/) ---------------------------------------
    void RunInspection(TRun& run, HWND sender);
    void ClearResults();
    // A run that ends without a verdict: no outline or label claims a test in progress, and
    // the status says in red why the run stopped.
    void ShowRunStopped(const std::string& status);
    void MarkShape(TShape& shape, bool visible, COLORREF color);
    void MarkLabel(TLabel& label, bool visible, COLORREF color);
    void InitPairTable();
    BoardType DetectBoardType();
    // Makes CurrentBoard a new board and connects it on port 0; false when the port did not
    // open, the board still held for the caller to release in its own order.
    bool ConnectNewBoard();
    // The held board's name (empty when it does not answer), and whether it is the test
    // firmware's: the whole text, case-sensitive.
    struct TBoardCheck {
        std::string Name;
        bool Ready = false;
    };
    TBoardCheck CheckBoardName();
    static const char* BoardTypeLabel(BoardType type);
    // The first pin of each pin pair, filled once by InitPairTable.
    int32_t PairFirstPin[66] = {};

    // --- the window's plumbing --------------------------------------------------------------
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void SubclassButton(HWND button);
    void RelayToHints(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The layout's DPI fitted to the primary monitor, with the fonts and picture made for it;
    // the window's rectangle there.
    TBounds OpenOnMonitor();
    void OnDpiChanged(int monitorDpi, const RECT& suggested);
    void MakeScaledResources();
    // Every control, outline and status panel at its place at the layout's DPI, in its font.
    void LayOutControls();
    // The colours of a text at its place in the scheme, set into the control's DC; the brush
    // of its background.
    LRESULT InkControl(HDC dc, TTextPlace place, COLORREF color) const;
    static int SysColorIndex(TSchemeSlot slot);

    void CreateControls();
    TShape MakeShape(const char* name, const TBounds& bounds);
    void OnCommand(int id, int code);
    // The keyboard (FormKeyboard.cpp): the control that keeps the focus, given it now where
    // the window is active; the window's own focus handed on to it; a held Enter's repeat,
    // which clicks nothing; the list of faulty pairs, which lets Tab go on.
    void FocusControl(HWND control);
    void OnSetFocus();
    static bool IsHeldEnter(const MSG* key);
    static LRESULT CALLBACK MemoProc(HWND memo, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnMouseMove(int x, int y);
    bool OnSetCursor(HWND under, int hitTest);
    // The cursor over `under` (the window or one of its controls) with the mouse at the screen
    // point `at`; null where the system's choice stands.
    HCURSOR CursorOver(HWND under, POINT at) const;
    static HCURSOR SystemCursor(LPCSTR id);
    void OnPaint();
    void PaintAreaNow(const RECT& area);
    // The window's own surface in an area (a client rectangle): background, picture, outlines.
    void PaintSurface(HDC screen, const RECT& area);
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
    static constexpr DWORD FORM_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    static constexpr DWORD FORM_EX_STYLE = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

    HWND Window = nullptr;
    UniqueFont FormFont;
    UniqueFont ErrorFont;
    UniqueFont StatusFont;
    UniqueBitmap Picture;
    // The layout's DPI, and the picture scaled to it (none at 96 dpi, where it is shown as it is).
    int Dpi = BASE_DPI;
    UniqueBitmap PictureAtDpi;
    TScheme Scheme;
    HCURSOR FormCursor = nullptr;
    WNDPROC ButtonClassProc = nullptr; // the button class's procedure, behind ButtonProc
    WNDPROC MemoClassProc = nullptr;   // the edit class's procedure, behind MemoProc
    // The control that last had the focus, or that a run's end gave it to.
    HWND FocusedControl = nullptr;
    // Where the bar last asked each panel to paint itself (its own paint gives the rectangle
    // inside the panel's border); empty until the bar has painted once.
    RECT PanelArea[2] = {};
    // A TRun holds the window: the window outlives a granted close until the run has ended,
    // and no second run starts.
    bool WindowHeldByRun = false;
    bool CloseGranted = false;
    bool InCloseQuery = false;
};

// The application's one main window, set while the application holds it.
extern TFormMain* FormMain;
