/*
 * A console is written in UTF-16 and read with ReadConsoleInput; a pipe or file gets bytes.
 */
#include "check/Console.h"

#include <windows.h>

namespace {

// The ANSI code page's text in UTF-16.
std::wstring Wide(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

} // namespace

void WriteLine(const std::string& line)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (IsConsole(out)) {
        const std::wstring wide = Wide(line) + L"\r\n";
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = line + "\r\n";
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool OwnsVisibleConsole()
{
    // Two entries are enough to tell "this process alone" from "shared with a prompt".
    DWORD processes[2];
    const HWND window = GetConsoleWindow();
    return window != nullptr && IsWindowVisible(window) && GetConsoleProcessList(processes, 2) == 1 &&
           IsConsole(GetStdHandle(STD_INPUT_HANDLE)) &&
           IsConsole(GetStdHandle(STD_OUTPUT_HANDLE));
}

void WaitForKey()
{
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    // A key pressed while the checks ran is not the answer to this question.
    FlushConsoleInputBuffer(in);
    for (;;) {
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputW(in, &record, 1, &read) || read == 0)
            return;
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown)
            return;
    }
}
