/*
 * Where the Quartus programmer lives: the one registry value the tool reads, opened for
 * reading only and never created.
 */
#include "chain/Jtagbus.h"

#include "base/Handles.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr char QUARTUS_KEY[] = "Software\\Altera Corporation\\Quartus";
constexpr char QUARTUS_VALUE[] = "Quartus Install Directory";

} // namespace

std::string TJtagBus::GetQuartusInstallDir()
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::string();

    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return std::string();
    std::string text(size, '\0');
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::string();
    // A stored string may or may not carry its terminating zero.
    text.resize(std::min<size_t>(size, text.size()));
    if (const size_t zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}
