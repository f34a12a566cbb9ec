/*
 * The report file: opened with no sharing, so that it is only read once the programmer's
 * redirected output has been closed, and read whole in one request into one buffer. Its text
 * goes to the host-built reader (chain/ChainReport.h).
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
#include <string>

namespace {

constexpr DWORD FILE_RETRY_PAUSE_MS = 10;

constexpr char OUT_OF_MEMORY[] = "Out of memory";

// Sizes the text, zero-filled; false when there is no memory for it, or the size is more than
// a string can hold (a 32-bit string holds less than the 4 GB a file size may say).
bool Allocate(std::string& text, size_t size)
{
    try {
        text.assign(size, '\0');
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

UniqueHandle OpenExclusive(const std::string& path)
{
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// What reading the report file came to: its whole text, or the failure's description and
// whether the operator is shown it (the file layer's own errors) or only the trace (a short
// read, which a programmer still writing the file may cause).
struct TReportText {
    std::string Text;
    std::string Failure;
    bool ShowFailure = false;
};

TReportText ReadWholeFile(const std::string& path)
{
    TReportText result;
    auto fail = [&](std::string failure, bool show) {
        result.Failure = std::move(failure);
        result.ShowFailure = show;
        return result;
    };
    UniqueHandle file = OpenExclusive(path);
    if (!file)
        return fail("Cannot open file " + path, true);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return fail("Cannot read file " + path, true);
    if (size.QuadPart >= MAXDWORD || !Allocate(result.Text, static_cast<size_t>(size.QuadPart) + 1))
        return fail(OUT_OF_MEMORY, true);
    DWORD read = 0;
    if (!ReadFile(file.Get(), result.Text.data(), size.LowPart, &read, nullptr) || read < size.LowPart)
        return fail("report " + TraceQuote(path) + ": " + std::to_string(read) + " of " +
                        std::to_string(size.LowPart) + " bytes read",
                    false);
    result.Text.resize(size.LowPart);
    return result;
}

} // namespace

bool TJtagBus::LoadChainReport(TChainList& list, const std::string& path, int cable)
{
    const TReportText report = ReadWholeFile(path);
    if (report.Failure.empty())
        return ReadChainReport(list, report.Text, cable);
    if (report.ShowFailure)
        ShowBox(BoxKind::Error, BoxButtons::Ok, report.Failure);
    else
        TraceFailure("%s", report.Failure.c_str());
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
