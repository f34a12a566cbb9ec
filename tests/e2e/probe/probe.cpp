/*
 * A small window for testing the driver itself, apart from the program: one button that asks a
 * Yes/No question in a box, one disabled button that must never be clicked, a label, a square
 * that turns yellow while the mouse is over the button, and a trace line for each event. It
 * ends with exit code 7 so that a script can tell its exit code from a default 0. It traces the
 * bench file and one variable it was given, to show what the driver passes on.
 */
#include <windows.h>

#include <cstdio>

namespace {

constexpr int ID_ASK = 102;
constexpr int ID_NEVER = 101;
constexpr int ID_LABEL = 107;
constexpr int EXIT_CODE = 7;
constexpr RECT SQUARE = {20, 120, 60, 160};

bool Hot = false;
WNDPROC ButtonProc = nullptr;

void Trace(const char* text)
{
    char line[512];
    std::snprintf(line, sizeof line, "KV7: %s\n", text);
    OutputDebugStringA(line);
}

LRESULT CALLBACK AskButton(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE && !Hot) {
        Hot = true;
        Trace("hot");
        InvalidateRect(GetParent(button), &SQUARE, TRUE);
    }
    return CallWindowProcA(ButtonProc, button, message, wParam, lParam);
}

LRESULT CALLBACK Window(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (Hot) {
            Hot = false;
            Trace("cold");
            InvalidateRect(window, &SQUARE, TRUE);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(Hot ? RGB(255, 255, 0) : RGB(0, 0, 255));
        FillRect(dc, &SQUARE, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_ASK) {
            Trace("clicked");
            int answer = MessageBoxA(window, "Go on?\nSecond line", "Warning", MB_YESNO | MB_ICONWARNING);
            Trace(answer == IDYES ? "answer Yes" : "answer No");
            SetDlgItemTextA(window, ID_LABEL, answer == IDYES ? "PASS" : "NG");
        } else if (LOWORD(wParam) == ID_NEVER) {
            Trace("disabled button fired");
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(EXIT_CODE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Window;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "Kv7Probe";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, 300, 200};
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowA("Kv7Probe", "KV7 probe", style, 100, 100, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    HWND ask = CreateWindowA("BUTTON", "Ask", WS_CHILD | WS_VISIBLE, 20, 20, 100, 30, window,
                             reinterpret_cast<HMENU>(ID_ASK), instance, nullptr);
    CreateWindowA("BUTTON", "Never", WS_CHILD | WS_VISIBLE | WS_DISABLED, 140, 20, 100, 30, window,
                  reinterpret_cast<HMENU>(ID_NEVER), instance, nullptr);
    CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 20, 70, 100, 20, window, reinterpret_cast<HMENU>(ID_LABEL),
                  instance, nullptr);
    ButtonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(ask, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AskButton)));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    char bench[MAX_PATH] = "";
    char extra[64] = "";
    GetEnvironmentVariableA("KV7_BENCH", bench, sizeof bench);
    GetEnvironmentVariableA("KV7_PROBE", extra, sizeof extra);
    char line[MAX_PATH + 96];
    std::snprintf(line, sizeof line, "environment %s %s", bench, extra);
    Trace(line);
    Trace("status \"Ready\" 0000FF");

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Trace("bye");
    return static_cast<int>(message.wParam);
}
