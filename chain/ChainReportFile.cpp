/*
 * The report file: opened with no sharing, so that it is only read once the programmer's
 * redirected output has been closed, and read whole in one request into one buffer.
 */
#include "chain/ChainReport.h"
#include "chain/Jtagbus.h"

#include "base/Box.h"
#include "base/Handles.h"
#include "base/Trace.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

constexpr DWORD FILE_RETRY_PAUSE_MS = 10;

UniqueHandle OpenExclusive(const std::string& path)
{
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The whole file, or nothing when fewer bytes arrive than its size. Raises the file layer's
// error when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    UniqueHandle file = OpenExclusive(path);
    if (!file)
        throw std::runtime_error("Cannot open file " + path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        throw std::runtime_error("Cannot read file " + path);
    if (size.QuadPart >= MAXDWORD)
        throw std::bad_alloc();
    std::string text(static_cast<size_t>(size.QuadPart) + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), text.data(), size.LowPart, &read, nullptr) || read < size.LowPart) {
        Trace("report %s: %lu of %lu bytes read", TraceQuote(path).c_str(), read, size.LowPart);
        return std::nullopt;
    }
    text.resize(size.LowPart);
    return text;
}

} // namespace

bool TJtagBus::LoadChainReport(TChainList& list, const std::string& path, int cable)
{
    try {
        const std::optional<std::string> text = ReadWholeFile(path);
        return text && ReadChainReport(list, *text, cable);
    } catch (const std::bad_alloc&) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, "Out of memory");
    } catch (const std::exception& error) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, error.what());
    }
    return false;
}

bool TJtagBus::WaitFileReady(const std::string& path, std::uint32_t timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (OpenExclusive(path))
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > timeoutMs)
            return false;
        Sleep(std::min<DWORD>(FILE_RETRY_PAUSE_MS, timeoutMs - elapsed + 1));
    }
}
