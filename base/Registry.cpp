#include "Registry.h"

#include "Handles.h"

#include <windows.h>

#include <algorithm>

namespace {

// Key names are not case-sensitive: "SOFTWARE\..." and "Software\..." open the same key.
constexpr wchar_t QUARTUS_KEY[] = L"Software\\Altera Corporation\\Quartus";
constexpr wchar_t QUARTUS_VALUE[] = L"Quartus Install Directory";

// An expandable value names its folder through environment variables ("%ProgramFiles%\...");
// taken as it stands it would name no folder. A variable that is not set stays as written.
std::wstring Expanded(const std::wstring& text)
{
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(size, L'\0');
    const DWORD length = size ? ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size) : 0;
    if (length == 0 || length > size)
        return text;
    expanded.resize(length - 1); // the count includes the terminating zero
    return expanded;
}

} // namespace

std::wstring QuartusInstallFolder()
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::wstring();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), QUARTUS_VALUE, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return std::wstring();
    std::wstring text((size + 1) / sizeof(wchar_t), L'\0');
    if (RegQueryValueExW(key.Get(), QUARTUS_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::wstring();
    // A stored string need not end in a zero, and may end in several.
    text.resize(std::min<size_t>(size / sizeof(wchar_t), text.size()));
    if (size_t zero = text.find(L'\0'); zero != std::wstring::npos)
        text.resize(zero);
    return type == REG_EXPAND_SZ ? Expanded(text) : text;
}
