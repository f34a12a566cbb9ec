#include "Registry.h"

#include "base/Handles.h"

#include <windows.h>

namespace {

constexpr char QUARTUS_KEY[] = "SOFTWARE\\Altera Corporation\\Quartus";
constexpr char QUARTUS_VALUE[] = "Quartus Install Directory";

} // namespace

std::optional<std::string> QuartusFolder()
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    char text[1024];
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    text[size] = '\0';
    return std::string(text);
}

bool SetQuartusFolder(const std::optional<std::string>& folder, std::string& error)
{
    UniqueKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS) {
        error = "cannot open the Quartus registry key";
        return false;
    }
    LONG result;
    if (folder) {
        result = RegSetValueExA(key.Get(), QUARTUS_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder->c_str()),
                                static_cast<DWORD>(folder->size() + 1));
    } else {
        result = RegDeleteValueA(key.Get(), QUARTUS_VALUE);
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    if (result != ERROR_SUCCESS) {
        error = "cannot change the Quartus folder in the registry";
        return false;
    }
    return true;
}
