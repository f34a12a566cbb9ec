/*
 * KV7Bench.exe: the simulated bench's own window, for demos and for training operators
 * without a board. It shows the bench file (KV7_BENCH, as the simulated parts find it) and
 * changes it as you click; the simulated libraries and programmer read it at their next call.
 * Below, the journal: what they were just asked and answered.
 *
 * The file is looked at five times a second, so a hand edit shows up at once. A file that
 * does not read is named with its line at fault and never written until it reads again.
 * Every change it makes is traced ("KV7: bench set powered = no") for the UI driver.
 */
#include "Bench.h"
#include "BenchControls.h"
#include "BenchFile.h"
#include "BenchPins.h"
#include "BenchSettings.h"

#include <windows.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

namespace {

using namespace sim;

constexpr char WINDOW_CLASS[] = "KV7SimulatedBench";
constexpr char WINDOW_CAPTION[] = "KV7 simulated bench";
// The inspection tool's caption, to stand beside its window when it is open.
constexpr char TOOL_CAPTION_PART[] = "KV7 ORBA Inspection Tool";
constexpr int CLIENT_WIDTH = 560;
constexpr int CLIENT_HEIGHT = 660;
constexpr UINT_PTR POLL_TIMER = 1;
constexpr UINT POLL_MS = 200;
constexpr int PLACE_TRIES = 50; // ten seconds of looking for the tool's window
constexpr size_t JOURNAL_LINES = 200;
constexpr int ROW = 26;
constexpr int LABEL_WIDTH = 100;

struct BenchWindow {
    HWND Window = nullptr;
    std::string Path;
    BenchState State;
    bool HaveState = false;
    std::string Note; // a message of the window's own, shown until the next change
    JournalTail Journal{JOURNAL_LINES};
    HFONT Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HFONT Fixed = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
    int PlaceTries = PLACE_TRIES;
};

void Trace(const std::string& line) { OutputDebugStringA(("KV7: bench " + line + "\n").c_str()); }

HWND Child(const BenchWindow& bench, int id) { return GetDlgItem(bench.Window, id); }

HWND Make(BenchWindow& bench, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
          DWORD exStyle = 0)
{
    HWND control = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, bench.Window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(bench.Font), FALSE);
    return control;
}

void MakeGroup(BenchWindow& bench, const char* caption, int x, int y, int w, int h)
{
    Make(bench, "BUTTON", caption, BS_GROUPBOX, x, y, w, h, -1);
}

// A setting's control at (x, y): a check box, or a label and a drop-down list.
void MakeSetting(BenchWindow& bench, int id, int x, int y, int width)
{
    const BenchSetting& setting = *FindBenchSetting(id);
    if (setting.Choices.empty()) {
        Make(bench, "BUTTON", setting.Caption, BS_CHECKBOX | WS_TABSTOP, x, y, width, 20, id);
        return;
    }
    Make(bench, "STATIC", setting.Caption, SS_LEFT, x, y + 3, LABEL_WIDTH, 16, -1);
    Make(bench, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x + LABEL_WIDTH, y, width - LABEL_WIDTH,
         220, id);
}

void CreateControls(BenchWindow& bench)
{
    Make(bench, "STATIC", "Bench file:", SS_LEFT, 8, 8, 60, 16, -1);
    Make(bench, "STATIC", bench.Path.c_str(), SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, 70, 8, 482, 16, ID_BENCH_PATH);
    Make(bench, "STATIC", "", SS_LEFT | SS_NOPREFIX, 8, 26, 544, 30, ID_BENCH_PROBLEM);

    const int left = 8, right = 286, column = 266;
    MakeGroup(bench, "Board", left, 58, column + 4, 18 + 4 * ROW + 4);
    int y = 76;
    Make(bench, "BUTTON", "Powered", BS_CHECKBOX | WS_TABSTOP, left + 8, y, 80, 20, ID_BENCH_POWERED);
    Make(bench, "BUTTON", "USB cable", BS_CHECKBOX | WS_TABSTOP, left + 92, y, 80, 20, ID_BENCH_CABLE);
    Make(bench, "BUTTON", "Configured", BS_CHECKBOX | WS_TABSTOP, left + 176, y, 86, 20, ID_BENCH_CONFIGURED);
    MakeSetting(bench, ID_BENCH_CHAIN, left + 8, y += ROW, column - 12);
    Make(bench, "STATIC", "Firmware name", SS_LEFT, left + 8, (y += ROW) + 3, LABEL_WIDTH, 16, -1);
    HWND firmware = Make(bench, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, left + 8 + LABEL_WIDTH, y, 96, 21,
                         ID_BENCH_FIRMWARE, WS_EX_CLIENTEDGE);
    SendMessageA(firmware, EM_LIMITTEXT, 16, 0);
    Make(bench, "BUTTON", "Set", BS_PUSHBUTTON | WS_TABSTOP, left + 210, y, 48, 21, ID_BENCH_FIRMWARE_SET);
    MakeSetting(bench, ID_BENCH_LOOPBACK_MS, left + 8, y += ROW, column - 12);

    MakeGroup(bench, "Quartus, programmer and download", left, 190, column + 4, 18 + 5 * ROW + 4);
    y = 208;
    Make(bench, "BUTTON", "No Quartus (version 0)", BS_CHECKBOX | WS_TABSTOP, left + 8, y, 140, 20,
         ID_BENCH_NO_QUARTUS);
    Make(bench, "BUTTON", "Download fails", BS_CHECKBOX | WS_TABSTOP, left + 152, y, 110, 20, ID_BENCH_DOWNLOAD_FAILS);
    for (int id : {ID_BENCH_DOWNLOAD_MS, ID_BENCH_PROGRAMMER_EXIT, ID_BENCH_PROGRAMMER_CABLE, ID_BENCH_PROGRAMMER_MS})
        MakeSetting(bench, id, left + 8, y += ROW, column - 12);

    MakeGroup(bench, "Board replies and the JTAG library", right, 58, column, 18 + 5 * ROW + 52);
    y = 76;
    MakeSetting(bench, ID_BENCH_REPLY_FAULT, right + 8, y, column - 16);
    MakeSetting(bench, ID_BENCH_REPLY_FAULT_ON, right + 8, y += ROW, column - 16);
    Make(bench, "BUTTON", "JTAG open fails", BS_CHECKBOX | WS_TABSTOP, right + 8, y += ROW, 120, 20,
         ID_BENCH_OPEN_FAILS);
    Make(bench, "BUTTON", "JTAG write fails", BS_CHECKBOX | WS_TABSTOP, right + 132, y, 120, 20, ID_BENCH_WRITE_FAILS);
    MakeSetting(bench, ID_BENCH_READ_RESULT, right + 8, y += ROW, column - 16);
    MakeSetting(bench, ID_BENCH_FAULT_IN, right + 8, y += ROW, column - 16);
    Make(bench, "STATIC",
         "A click writes the file at once; the simulated board, libraries and programmer read it at their "
         "next call. A pin pair selected below fails the loopback.",
         SS_LEFT, right + 8, y += ROW, column - 16, 42, -1);

    MakeGroup(bench, "Faulty pin pairs (pair: pins as the tool reports them)", left, 348, CLIENT_WIDTH - 16, 170);
    for (int c = 0; c < CONNECTORS; ++c) {
        const int x = left + 8 + c * 134;
        const char name[] = {'O', 'R', 'B', 'A', '-', static_cast<char>('A' + c), '\0'};
        Make(bench, "STATIC", name, SS_LEFT, x, 366, 120, 16, -1);
        HWND list = Make(bench, "LISTBOX", "", LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL
                                                   | WS_TABSTOP,
                         x, 384, 124, 126, ID_BENCH_PAIRS_A + c, WS_EX_CLIENTEDGE);
        for (int pair = 0; pair < PIN_PAIRS; ++pair)
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PairLabel(pair).c_str()));
    }

    MakeGroup(bench, "Journal: what the simulated parts were just asked and answered", left, 522, CLIENT_WIDTH - 16,
              CLIENT_HEIGHT - 528);
    HWND journal = Make(bench, "EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL
                                               | WS_HSCROLL,
                        left + 8, 540, CLIENT_WIDTH - 32, CLIENT_HEIGHT - 552, ID_BENCH_JOURNAL, WS_EX_CLIENTEDGE);
    SendMessageA(journal, WM_SETFONT, reinterpret_cast<WPARAM>(bench.Fixed), FALSE);
}

bool Checked(const BenchSetting& setting, const BenchText& reading)
{
    const std::string value = reading.Value(setting.Key, setting.Default);
    if (setting.Id == ID_BENCH_NO_QUARTUS)
        return !value.empty() && std::strtod(value.c_str(), nullptr) == 0;
    return value == "yes";
}

void ShowCombo(BenchWindow& bench, const BenchSetting& setting, const BenchText& reading)
{
    HWND combo = Child(bench, setting.Id);
    const std::string value = reading.Value(setting.Key, setting.Default);
    int chosen = -1;
    for (size_t i = 0; i < setting.Choices.size() && chosen < 0; ++i)
        if (SameValue(setting, value, setting.Choices[i].Value))
            chosen = static_cast<int>(i);
    // A value the list does not offer (written by hand) is shown as it stands, after the list.
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const BenchChoice& choice : setting.Choices)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.Label));
    if (chosen < 0) {
        const std::string own = value.empty() ? "(empty)" : value;
        chosen = static_cast<int>(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(own.c_str())));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void ShowPairs(BenchWindow& bench, int connector, const BenchText& reading)
{
    HWND list = Child(bench, ID_BENCH_PAIRS_A + connector);
    const char key[] = {'f', 'a', 'u', 'l', 't', 'y', '_', static_cast<char>('a' + connector), '\0'};
    bool faulty[PIN_PAIRS] = {};
    for (int pair : PairList(reading.Value(key, "")))
        faulty[pair] = true;
    int first = -1;
    bool changed = false;
    for (int pair = 0; pair < PIN_PAIRS; ++pair) {
        if (faulty[pair] && first < 0)
            first = pair;
        const bool shown = SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(pair), 0) > 0;
        if (shown != faulty[pair]) {
            SendMessageA(list, LB_SETSEL, faulty[pair], pair);
            changed = true;
        }
    }
    // Selecting scrolls to the last pair selected; a list changed from the file starts at its
    // first faulty pair instead, where the operator reads on.
    if (changed)
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(first < 0 ? 0 : first), 0);
}

std::string ProblemText(const BenchWindow& bench)
{
    const BenchState& state = bench.State;
    if (!bench.Note.empty())
        return bench.Note;
    if (!state.Opened)
        return "The file cannot be read. Nothing is written to it.";
    if (!state.Reading.Readable)
        return "Line " + std::to_string(state.Reading.BadLine) + " does not read (" + state.Reading.Why
            + "): \"" + state.Reading.BadText + "\". Nothing is written until the file reads.";
    if (!state.Exists)
        return "No file yet: the desk has its defaults. The first click writes the file.";
    std::string text = "The simulated parts read this file at their next call.";
    if (!state.Reading.UnknownKeys.empty()) {
        text += " Keys this window does not know, left as they are:";
        for (const std::string& key : state.Reading.UnknownKeys)
            text += " " + key;
    }
    return text;
}

bool Faulted(const BenchWindow& bench) { return !bench.State.Opened || !bench.State.Reading.Readable; }

// Shows the state: every control from the file, or all of them disabled when it does not read.
void Show(BenchWindow& bench)
{
    const BenchText& reading = bench.State.Reading;
    const bool usable = !Faulted(bench);
    for (const BenchSetting& setting : BenchSettings()) {
        EnableWindow(Child(bench, setting.Id), usable);
        if (!usable)
            continue;
        if (setting.Choices.empty())
            SendMessageA(Child(bench, setting.Id), BM_SETCHECK, Checked(setting, reading) ? BST_CHECKED : BST_UNCHECKED,
                         0);
        else
            ShowCombo(bench, setting, reading);
    }
    for (int c = 0; c < CONNECTORS; ++c) {
        EnableWindow(Child(bench, ID_BENCH_PAIRS_A + c), usable);
        if (usable)
            ShowPairs(bench, c, reading);
    }
    HWND firmware = Child(bench, ID_BENCH_FIRMWARE);
    EnableWindow(firmware, usable);
    EnableWindow(Child(bench, ID_BENCH_FIRMWARE_SET), usable);
    if (usable && GetFocus() != firmware)
        SetWindowTextA(firmware, reading.Value("firmware", "KV7_MP").c_str());
    SetWindowTextA(Child(bench, ID_BENCH_PROBLEM), ProblemText(bench).c_str());
}

void Take(BenchWindow& bench, BenchState state)
{
    const bool wasFaulted = bench.HaveState && Faulted(bench);
    bench.State = std::move(state);
    bench.HaveState = true;
    if (Faulted(bench) && !wasFaulted)
        Trace(bench.State.Opened ? "unreadable line " + std::to_string(bench.State.Reading.BadLine) : "unreadable file");
    Show(bench);
}

void Change(BenchWindow& bench, const BenchChanges& changes)
{
    BenchState state;
    const bool written = ChangeBench(bench.Path, changes, state);
    bench.Note.clear();
    for (const auto& [key, value] : changes)
        Trace((written ? "set " : "refused ") + key + " = " + value);
    Take(bench, std::move(state));
}

void PollFiles(BenchWindow& bench)
{
    BenchState state = ReadBenchState(bench.Path);
    if (!bench.HaveState || state.Exists != bench.State.Exists || state.Opened != bench.State.Opened
        || state.Text != bench.State.Text) {
        bench.Note.clear();
        Take(bench, std::move(state));
    }
    if (bench.Journal.Poll(JournalPathOf(bench.Path, bench.State.Reading))) {
        HWND journal = Child(bench, ID_BENCH_JOURNAL);
        const std::string text = bench.Journal.Text();
        SetWindowTextA(journal, text.c_str());
        SendMessageA(journal, EM_SETSEL, text.size(), text.size());
        SendMessageA(journal, EM_SCROLLCARET, 0, 0);
    }
}

BOOL CALLBACK FindTool(HWND window, LPARAM found)
{
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::string(caption).find(TOOL_CAPTION_PART) != std::string::npos) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Stands beside the tool's window once it shows: right of it where the screen has room, else
// left of it. Where neither side has room but the screen holds both, the tool is moved over
// to make room: a pair that overlaps is no use in a demo or a lesson.
void PlaceBesideTool(BenchWindow& bench)
{
    HWND tool = nullptr;
    EnumWindows(FindTool, reinterpret_cast<LPARAM>(&tool));
    if (!tool) {
        --bench.PlaceTries;
        return;
    }
    bench.PlaceTries = 0;
    RECT toolRect{}, own{}, work{};
    GetWindowRect(tool, &toolRect);
    GetWindowRect(bench.Window, &own);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = own.right - own.left, height = own.bottom - own.top;
    const int toolWidth = toolRect.right - toolRect.left;
    int x = toolRect.right;
    if (x + width > work.right) {
        if (toolRect.left - width >= work.left) {
            x = toolRect.left - width;
        } else if (toolWidth + width <= work.right - work.left) {
            const int toolLeft = work.left + (work.right - work.left - toolWidth - width) / 2;
            SetWindowPos(tool, nullptr, toolLeft, toolRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            x = toolLeft + toolWidth;
        } else {
            x = work.right - width;
        }
    }
    int y = toolRect.top;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (y < work.top)
        y = work.top;
    SetWindowPos(bench.Window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnCommand(BenchWindow& bench, int id, int code)
{
    if (Faulted(bench))
        return;
    const BenchText& reading = bench.State.Reading;
    if (id >= ID_BENCH_PAIRS_A && id < ID_BENCH_PAIRS_A + CONNECTORS && code == LBN_SELCHANGE) {
        HWND list = Child(bench, id);
        std::string pairs;
        for (int pair = 0; pair < PIN_PAIRS; ++pair)
            if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(pair), 0) > 0)
                pairs += (pairs.empty() ? "" : ", ") + std::to_string(pair);
        const char key[] = {'f', 'a', 'u', 'l', 't', 'y', '_', static_cast<char>('a' + id - ID_BENCH_PAIRS_A), '\0'};
        Change(bench, {{key, pairs}});
        return;
    }
    if (id == ID_BENCH_FIRMWARE_SET && code == BN_CLICKED) {
        char name[32] = "";
        GetWindowTextA(Child(bench, ID_BENCH_FIRMWARE), name, sizeof name);
        if (std::string(name).find('#') != std::string::npos) {
            bench.Note = "A firmware name cannot hold '#': the file would read the rest as a comment.";
            Show(bench);
            return;
        }
        Change(bench, {{"firmware", name}});
        return;
    }
    const BenchSetting* setting = FindBenchSetting(id);
    if (!setting)
        return;
    if (setting->Choices.empty() && code == BN_CLICKED) {
        const bool on = !Checked(*setting, reading);
        if (id == ID_BENCH_NO_QUARTUS)
            Change(bench, {{setting->Key, on ? "0" : setting->Default}});
        else if (id == ID_BENCH_POWERED && !on) // a board switched off loses its configuration
            Change(bench, {{"powered", "no"}, {"configured", "no"}});
        else
            Change(bench, {{setting->Key, on ? "yes" : "no"}});
    } else if (!setting->Choices.empty() && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageA(Child(bench, id), CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < setting->Choices.size())
            Change(bench, {{setting->Key, setting->Choices[static_cast<size_t>(index)].Value}});
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* bench = reinterpret_cast<BenchWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        bench = static_cast<BenchWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        bench->Window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bench));
        break;
    case WM_CREATE:
        CreateControls(*bench);
        PollFiles(*bench);
        SetTimer(window, POLL_TIMER, POLL_MS, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == POLL_TIMER) {
            PollFiles(*bench);
            if (bench->PlaceTries > 0)
                PlaceBesideTool(*bench);
        }
        return 0;
    case WM_COMMAND:
        if (bench)
            OnCommand(*bench, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (bench && reinterpret_cast<HWND>(lParam) == Child(*bench, ID_BENCH_PROBLEM)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, Faulted(*bench) || !bench->Note.empty() ? RGB(0xC0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(bench->Face);
        }
        break;
    case WM_DESTROY:
        KillTimer(window, POLL_TIMER);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    BenchWindow bench;
    bench.Path = BenchPath();

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WINDOW_CLASS;
    if (!RegisterClassA(&windowClass))
        return 1;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_CAPTION, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  &bench);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
