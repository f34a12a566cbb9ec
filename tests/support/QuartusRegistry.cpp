/*
 * The Quartus value under HKEY_LOCAL_MACHINE, read, changed and put back.
 */
#include "QuartusRegistry.h"

#include "base/Handles.h"

#include <windows.h>

#include <algorithm>

QuartusRegistry::QuartusRegistry()
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return;
    // Asked for its size first: a value cut short would be put back cut short, or not at all.
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return;
    std::string text(size, '\0');
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return;
    text.resize(std::min<size_t>(size, text.size()));
    Value = text.substr(0, text.find('\0'));
    Present = true;
}

QuartusRegistry::~QuartusRegistry()
{
    if (Present)
        Set(Value);
    else
        Remove();
}

void QuartusRegistry::Set(const std::string& value) const
{
    UniqueKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                        nullptr) == ERROR_SUCCESS)
        RegSetValueExA(key.Get(), QUARTUS_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
}

void QuartusRegistry::Remove() const
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
        RegDeleteValueA(key.Get(), QUARTUS_VALUE);
}
