#include "Station.h"

#include "base/PathSpelling.h"

namespace {

constexpr LONGLONG TICKS_PER_MINUTE = 60LL * 10000000;

LONGLONG Ticks(const FILETIME& t) { return static_cast<LONGLONG>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime); }

std::wstring Widened(const std::string& text, UINT codePage)
{
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace

TRecordTime LocalRecordTime(const FILETIME& utc)
{
    SYSTEMTIME universal{}, local{};
    FILETIME localTime{};
    TRecordTime time;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
        !SystemTimeToFileTime(&local, &localTime))
        return time;
    time = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, 0};
    // Rounded to whole minutes: time zones have none smaller.
    const LONGLONG difference = Ticks(localTime) - Ticks(utc);
    time.UtcOffsetMinutes = static_cast<int>((difference + (difference < 0 ? -1 : 1) * TICKS_PER_MINUTE / 2) /
                                             TICKS_PER_MINUTE);
    return time;
}

std::string ComputerNameUtf8()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? Utf8(std::wstring(name, length)) : std::string();
}

std::string AccountNameUtf8()
{
    wchar_t name[257]; // UNLEN + 1
    DWORD length = 257;
    return GetUserNameW(name, &length) && length > 0 ? Utf8(std::wstring(name, length - 1)) : std::string();
}

std::string Utf8(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring Wide(const std::string& utf8) { return Widened(utf8, CP_UTF8); }

std::string Utf8FromAnsi(const std::string& ansi) { return Utf8(Widened(ansi, AnsiCodePage())); }
