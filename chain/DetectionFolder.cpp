#include "chain/DetectionFolder.h"

#include "chain/ChainCommand.h"

#include "base/Paths.h"
#include "base/Trace.h"

#include <windows.h>

namespace {

constexpr DWORD TEMP_PATH_BUFFER = 256;

} // namespace

// A name too long for the buffer comes back unfilled; the program's folder serves then as well.
std::wstring DetectionFolder()
{
    wchar_t buffer[TEMP_PATH_BUFFER];
    const DWORD length = GetTempPathW(TEMP_PATH_BUFFER, buffer);
    if (length == 0)
        return ExeFolderW();
    if (length >= TEMP_PATH_BUFFER) {
        Trace("temporary folder name too long (%lu characters), using the program's folder", length);
        return ExeFolderW();
    }
    return WithTrailingBackslash(std::wstring(buffer, length));
}
