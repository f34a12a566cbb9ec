/*
 * The main window's construction, its message dispatch, showing and closing. Handlers live in
 * the files of their concern: FormStatus.cpp (status bar and progress), FormOutlines.cpp
 * (picture, outlines, hover, cursors), FormWaits.cpp (waits, calibration); a run's hold on the
 * window (TRun) is here, with the closing it defers.
 */
#include "FormMain.h"

#include "Application.h"
#include "ControlIds.h"
#include "Fonts.h"

#include "base/Box.h"
#include "base/Fault.h"
#include "base/MessageWait.h"
#include "base/PendingInput.h"
#include "base/Pump.h"
#include "base/SessionEnd.h"
#include "base/Trace.h"
#include "resources/ResourceIds.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

// Posted when a run that outlived a granted close has ended.
constexpr UINT WM_DESTROY_DEFERRED = WM_APP + 1;
// How long a granted close during a run keeps the window responsive before it is allowed.
constexpr DWORD CLOSE_GRACE_MS = 2000;

// Sets a flag for one scope, whichever way the scope is left.
class TScopedFlag {
public:
    explicit TScopedFlag(bool& flag) : Flag(flag) { Flag = true; }
    ~TScopedFlag() { Flag = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& Flag;
};

} // namespace

TFormMain::TFormMain()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA known{};
    known.cbSize = sizeof known;
    if (!GetClassInfoExA(instance, FORM_MAIN_CLASS, &known)) {
        WNDCLASSEXA form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = WindowProc;
        form.hInstance = instance;
        form.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KV7));
        form.hbrBackground = GetSysColorBrush(COLOR_INACTIVECAPTION);
        form.lpszClassName = FORM_MAIN_CLASS;
        if (!RegisterClassExA(&form))
            throw TException("Cannot register the main window class");
    }

    Picture.Reset(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_BOARD), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const TBounds frame = OpenOnMonitor();
    Trace("window font %s", TraceQuote(FontFaceOf(FormFont.Get())).c_str());
    ApplyScheme(ReadScheme());

    HWND created = CreateWindowExA(FORM_EX_STYLE, FORM_MAIN_CLASS, FORM_MAIN_CAPTION, FORM_STYLE, frame.Left,
                                   frame.Top, frame.Width, frame.Height, nullptr, nullptr, instance, this);
    if (!created)
        throw TException("Cannot create the main window");
    // From here on the destructor destroys the window, even if construction fails below.
    try {
        CreateControls();
        LayOutControls();
    } catch (...) {
        DestroyWindow(Window);
        throw;
    }
    SetBoxOwner(Window);
    SetDialogWindow(Window);

    InitPairTable();
    SpeedFactor = CalibrateSpeed();
}

TFormMain::~TFormMain()
{
    if (Window)
        DestroyWindow(Window);
}

void TFormMain::CreateControls()
{
    HFONT font = FormFont.Get();
    // Creation order is tab order: Exit, A, B, C, D, then the list.
    ButtonExit = CreateControl(Window, {WC_BUTTONA, BUTTON_EXIT_CAPTION, WS_TABSTOP | BS_PUSHBUTTON, 0,
                                        BUTTON_EXIT, ID_BUTTON_EXIT, font});
    SubclassButton(ButtonExit);
    for (int i = 0; i < 4; ++i) {
        ButtonOrba[i] = CreateControl(Window, {WC_BUTTONA, BUTTON_ORBA_CAPTION[i], WS_TABSTOP | BS_PUSHBUTTON,
                                               0, BUTTON_ORBA[i], ID_BUTTON_ORBA[i], font});
        SubclassButton(ButtonOrba[i]);
    }
    MemoError.Name = "MemoError";
    MemoError.Window = CreateControl(
        Window, {WC_EDITA, "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                 WS_EX_CLIENTEDGE, MEMO_ERROR, ID_MEMO_ERROR, ErrorFont.Get()});
    SetWindowLongPtrA(MemoError.Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MemoClassProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(MemoError.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFormMain::MemoProc)));

    // SS_NOTIFY makes a label take the mouse instead of passing it to the window beneath; a
    // label keeps its caption on one line, as it grows rather than wraps.
    constexpr DWORD LABEL_STYLE = SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX;
    LabelResult.Name = "LabelResult";
    LabelResult.Bounds = LABEL_RESULT;
    LabelResult.Grows = true;
    LabelResult.Font = font;
    LabelResult.Color = GetSysColor(COLOR_WINDOWTEXT);
    LabelResult.Window = CreateControl(Window, {WC_STATICA, "", LABEL_STYLE, 0, LABEL_RESULT, ID_LABEL_RESULT, font});
    LabelError.Name = "LabelError";
    LabelError.Bounds = LABEL_ERROR;
    LabelError.Caption = LABEL_ERROR_CAPTION;
    LabelError.Color = COLOR_MAROON;
    LabelError.Font = ErrorFont.Get();
    LabelError.Window = CreateControl(
        Window, {WC_STATICA, LABEL_ERROR_CAPTION, LABEL_STYLE, 0, LABEL_ERROR, ID_LABEL_ERROR, ErrorFont.Get()});

    // The bar keeps exactly its laid-out place instead of docking to the window's bottom. Its
    // two panels exist before their painter is named; the layout sets their widths again at
    // every DPI (LayOutControls).
    StatusBar = CreateControl(Window, {STATUSCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
                                       STATUS_BAR, ID_STATUS_BAR, StatusFont.Get()});
    int parts[2] = {STATUS_PANEL0_WIDTH, -1};
    SendMessageA(StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    for (int panel = 0; panel < 2; ++panel)
        SendMessageA(StatusBar, SB_SETTEXTA, panel | SBT_OWNERDRAW, panel);

    HintTooltip = CreateHintTooltip(Window);
    for (int i = 0; i < 4; ++i) {
        Shape[i] = MakeShape(SHAPE_HOVER_NAME[i], SHAPE_HOVER[i]);
        ShapeOrba[i] = MakeShape(SHAPE_RESULT_NAME[i], SHAPE_RESULT[i]);
        ShapeOrba[i].Tooltip = HintTooltip;
        ShapeOrba[i].ToolId = static_cast<UINT>(i + 1);
        AddHintTool(HintTooltip, Window, ShapeOrba[i].ToolId);
    }
}

TShape TFormMain::MakeShape(const char* name, const TBounds& bounds)
{
    TShape shape;
    shape.Name = name;
    shape.Bounds = bounds;
    shape.Parent = Window;
    shape.PaintArea = [this](const RECT& area) { PaintAreaNow(area); };
    return shape;
}

void TFormMain::Show()
{
    if (!Window)
        return;
    ShowWindow(Window, SW_SHOWNORMAL);
    UpdateWindow(Window);
    FocusControl(ButtonExit);
}

LRESULT CALLBACK TFormMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TFormMain*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->Window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TFormMain*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        form->Window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return CallGuarded([&] { return form->HandleMessage(message, wParam, lParam); });
}

// The buttons' own procedure, in front of the button class's. Every button only asks for its
// paint when enabled or disabled, instead of painting itself inside EnableWindow: disabled, the
// five are painted together in one pass (EnableButtons); enabled, with the window's next message
// pass, when the run has ended. The connector buttons also report the mouse for their hover
// outlines. A button with the focus is the default push button (FormKeyboard.cpp) and tells the
// window it has the focus; it takes a held Enter's repeats itself (and ignores them), so that
// the dialog navigation clicks it only once, as a held Space or mouse button clicks once: a key
// still held when a run ends starts no other.
//
// The buttons are subclassed the classic way (GWLP_WNDPROC), not with SetWindowSubclass, which
// finds its chain in a window property on every message. A themed button sends itself dozens of
// messages while it paints, and under Wine each property look-up is a trip to the window server:
// a button's paint took 1.0 ms instead of 0.37 ms, five of them in every press. Windows
// documents both ways; nothing else subclasses these buttons.
LRESULT CALLBACK TFormMain::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* form = reinterpret_cast<TFormMain*>(GetWindowLongPtrA(button, GWLP_USERDATA));
    const WNDPROC classProc = form->ButtonClassProc;
    switch (message) {
    case WM_ENABLE:
        InvalidateRect(button, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        form->FocusedControl = button;
        SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        break;
    case WM_KILLFOCUS:
        SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        break;
    case WM_GETDLGCODE:
        if (IsHeldEnter(reinterpret_cast<const MSG*>(lParam)))
            return CallWindowProcA(classProc, button, message, wParam, lParam) | DLGC_WANTMESSAGE;
        break;
    case WM_MOUSEMOVE:
        if (button != form->ButtonExit)
            CallGuarded([&] {
                form->ButtonOrbaMouseMove(button);
                return LRESULT{0};
            });
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
        break;
    }
    return CallWindowProcA(classProc, button, message, wParam, lParam);
}

// The hint tooltip learns of the mouse from the window (TTM_RELAYEVENT) instead of subclassing
// it (TTF_SUBCLASS). A subclass looks up its chain in a window property on every message the
// window gets, among them those that every button and label paint sends its parent, and under
// Wine every look-up is a trip to the window server.
void TFormMain::RelayToHints(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!HintTooltip)
        return;
    const DWORD at = GetMessagePos();
    MSG relayed{Window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    SendMessageA(HintTooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TFormMain::SubclassButton(HWND button)
{
    SetWindowLongPtrA(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ButtonClassProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFormMain::ButtonProc)));
}

LRESULT TFormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        RelayToHints(message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_ERASEBKGND:
        return 1; // OnPaint covers every pixel
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem == StatusBar)
            StatusBarDrawPanel(static_cast<int>(item->itemID), item->hDC, item->rcItem);
        return TRUE;
    }
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        // The common controls learn of it only from their parent.
        for (HWND control : {StatusBar, HintTooltip})
            if (control)
                SendMessageA(control, WM_SYSCOLORCHANGE, 0, 0);
        ApplyScheme(ReadScheme());
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            ApplyScheme(ReadScheme());
        break;
    case WM_TIMER:
        if (wParam == ID_TIMER_PROGRESS)
            TimerProgressTimer();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            FormShow();
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        return 0;
    case WM_DESTROY_DEFERRED:
        OnDestroyDeferred();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefWindowProcA(Window, message, wParam, lParam);
}

void TFormMain::OnCommand(int id, int code)
{
    if (id == ID_MEMO_ERROR && code == EN_SETFOCUS)
        FocusedControl = MemoError.Window;
    if (code != BN_CLICKED)
        return;
    if (id == ID_BUTTON_EXIT) {
        ButtonExitClick();
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (id == ID_BUTTON_ORBA[i])
            ButtonOrbaClick(ButtonOrba[i]);
}

void TFormMain::FormShow()
{
    if (!NotShownYet)
        return;
    NotShownYet = false;
    // The status bar's panel painter answers from now on (StatusBarDrawPanel checks the flag).
    SetProgress(0);
    ClearResults();
    ShowStatus(STATUS_READY, COLOR_BLUE);
    LabelResult.SetCaption("");
}

void TFormMain::ButtonExitClick()
{
    // Posted, not sent: the close then runs from the message loop, not from inside the button.
    PostMessageA(Window, WM_CLOSE, 0, 0);
}

bool TFormMain::FormCloseQuery()
{
    if (!Busy)
        return true;
    if (ShowBox(BoxKind::Warning, BoxButtons::YesNo, CLOSE_QUESTION) == BoxAnswer::No)
        return false;
    Busy = false;
    // Messages are processed while fewer than CLOSE_GRACE_MS have passed.
    WaitWithMessages(CLOSE_GRACE_MS - 1);
    return true;
}

void TFormMain::FormClose() { StopProgress(); }

void TFormMain::OnClose()
{
    // A close asked again while the question is open or its grace time runs is the same close.
    if (InCloseQuery || CloseGranted)
        return;
    bool granted;
    {
        TScopedFlag asking(InCloseQuery);
        granted = FormCloseQuery();
    }
    if (!granted) {
        Trace("close refused");
        return;
    }
    if (!Window)
        return;
    FormClose();
    if (WindowHeldByRun) {
        // The run below us on the stack goes on to its end with the window still on the
        // screen (the operator sees its verdict); the window goes when the run has ended.
        CloseGranted = true;
        Trace("close deferred until the run ends");
        return;
    }
    Trace("close granted");
    DestroyWindow(Window);
}

// Once this message is answered the system may end the process at any moment, without the
// run below us on the stack unwinding and without the message loop ending: everything held is
// let go here, and the process ends here with the exit code the entry would have returned.
// The close question is not asked: no one can answer it while the session ends.
void TFormMain::OnEndSession()
{
    Trace("session ends");
    if (WindowHeldByRun)
        ShowRunStopped(STATUS_STOPPED);
    ReleaseForSessionEnd();
    Records.Close();
    // A fault inside the library's close must not keep the process from ending here: no box
    // while the session ends, and the board is let go all the same.
    try {
        ReleaseBoard();
    } catch (const TLibraryFault& fault) {
        Trace("board dropped at session end: %s", fault.what());
    }
    ExitProcess(0);
}

void TFormMain::OnDestroyDeferred()
{
    if (!WindowHeldByRun && Window) {
        Trace("close granted");
        DestroyWindow(Window);
    }
}

void TFormMain::OnDestroy()
{
    Trace("window destroyed");
    // A fault inside the library's close must not skip what follows: the board is let go all
    // the same, and nothing of the window is left behind it.
    try {
        ReleaseBoard();
    } catch (const TLibraryFault& fault) {
        Trace("board dropped with the window: %s", fault.what());
    }
    KillTimer(Window, ID_TIMER_PROGRESS);
    Records.Close();
    SetBoxOwner(nullptr);
    SetDialogWindow(nullptr);
}

TFormMain::TRun::TRun(TFormMain& form)
    : Form(form), Held(form.Window && !form.WindowHeldByRun && !form.CloseGranted)
{
    if (Held)
        Form.WindowHeldByRun = true;
}

void TFormMain::TRun::Begin(char letter)
{
    Trace("run ORBA-%c start", letter);
    Form.Busy = true;
    Letter = letter;
    StartTick = GetTickCount();
    Record.Begin();
    Begun = true;
}

TFormMain::TRun::~TRun()
{
    if (Begun) {
        Form.StopProgress();
        // Clicks and keys made while the run held the window were meant for no run.
        DropPendingInput();
        Record.Write(Form, Letter, Outcome);
        Form.EnableButtons(true);
        // The keys go on where the operator left them: on the button that started the run.
        Form.FocusControl(Form.ButtonOrba[Letter - 'A']);
        Form.SetFormCursor(nullptr);
        Form.Busy = false;
        Trace("run ORBA-%c end %s (%lu ms)", Letter, Outcome, GetTickCount() - StartTick);
    }
    if (!Held)
        return;
    Form.WindowHeldByRun = false;
    if (Form.CloseGranted && Form.Window)
        PostMessageA(Form.Window, WM_DESTROY_DEFERRED, 0, 0);
}
