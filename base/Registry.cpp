#include "Registry.h"

#include "Handles.h"

#include <windows.h>

#include <algorithm>

std::string ReadMachineString(const char* keyName, const char* valueName)
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::string();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return std::string();
    std::string text(size, '\0');
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::string();
    // A stored string need not end in a zero byte, and may end in several.
    text.resize(std::min<size_t>(size, text.size()));
    if (size_t zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}
