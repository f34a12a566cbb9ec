#include "MonitorDpi.h"

#include "base/DcGuards.h"
#include "base/Handles.h"

#include <string>

namespace {

// The functions newer than Windows 7, one list per library: name, result, parameters.
#define KV7_USER32_DPI(V) V(AdjustWindowRectExForDpi, BOOL, (RECT*, DWORD, BOOL, DWORD, UINT))
#define KV7_SHCORE_DPI(V) V(GetDpiForMonitor, HRESULT, (HMONITOR, int, UINT*, UINT*))

#define KV7_DPI_MEMBER(name, result, parameters) result(WINAPI* name) parameters = nullptr;
#define KV7_DPI_RESOLVE(name, result, parameters) \
    name = reinterpret_cast<result(WINAPI*) parameters>(reinterpret_cast<void (*)()>(GetProcAddress(module, #name)));

struct TUser32Dpi {
    KV7_USER32_DPI(KV7_DPI_MEMBER)
    explicit TUser32Dpi(HMODULE module) { KV7_USER32_DPI(KV7_DPI_RESOLVE) }
};

struct TShcoreDpi {
    KV7_SHCORE_DPI(KV7_DPI_MEMBER)
    explicit TShcoreDpi(HMODULE module)
    {
        if (module) {
            KV7_SHCORE_DPI(KV7_DPI_RESOLVE)
        }
    }
};

const TUser32Dpi& User32Dpi()
{
    static const TUser32Dpi calls(GetModuleHandleA("user32.dll"));
    return calls;
}

// shcore.dll is not part of Windows 7; it is loaded from the system folder by its full path,
// never by the search path, and kept for the process's life.
const TShcoreDpi& ShcoreDpi()
{
    static const UniqueModule module([] {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return HMODULE{};
        return LoadLibraryW((std::wstring(folder, length) + L"\\shcore.dll").c_str());
    }());
    static const TShcoreDpi calls(module.Get());
    return calls;
}

constexpr int MDT_EFFECTIVE_DPI = 0;

} // namespace

int SystemDpi()
{
    TScreenDc screen;
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : BASE_DPI;
}

int MonitorDpi(HMONITOR monitor)
{
    UINT x = 0;
    UINT y = 0;
    if (ShcoreDpi().GetDpiForMonitor && SUCCEEDED(ShcoreDpi().GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) &&
        y > 0)
        return static_cast<int>(y);
    return SystemDpi();
}

TBounds WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoA(monitor, &info))
        work = info.rcWork;
    return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

TFrame FrameAt(DWORD style, DWORD exStyle, int dpi)
{
    RECT frame = {0, 0, 0, 0};
    if (User32Dpi().AdjustWindowRectExForDpi)
        User32Dpi().AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {-frame.left, -frame.top, frame.right, frame.bottom};
}
