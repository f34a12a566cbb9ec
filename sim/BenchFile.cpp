/*
 * Reading and changing the bench file from the bench window, and following the journal.
 */
#include "BenchFile.h"

#include "Bench.h"
#include "Files.h"
#include "KeyValue.h"

namespace sim {

namespace {

// Under the bench's lock, held by the caller.
BenchState ReadLocked(const std::string& path)
{
    BenchState state;
    state.Exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (state.Exists)
        state.Opened = ReadWholeFile(path, state.Text);
    state.Reading = CheckBenchText(state.Text);
    return state;
}

} // namespace

BenchState ReadBenchState(const std::string& path)
{
    BenchLock lock;
    return ReadLocked(path);
}

bool ChangeBench(const std::string& path, const BenchChanges& changes, BenchState& state)
{
    BenchLock lock;
    state = ReadLocked(path);
    if (!state.Opened || !state.Reading.Readable)
        return false;
    std::string text = state.Text;
    for (const auto& [key, value] : changes)
        text = RewriteKey(text, key, value);
    // The simulated parts read the file only under the same lock, so writing it in place cannot
    // be seen half done.
    if (!WriteWholeFile(path, text)) {
        state.Opened = false;
        return false;
    }
    state.Exists = true;
    state.Text = text;
    state.Reading = CheckBenchText(text);
    return true;
}

bool JournalTail::Poll(const std::string& path)
{
    bool changed = false;
    if (path != Path) {
        Path = path;
        Offset = 0;
        Partial.clear();
        changed = !Lines.empty();
        Lines.clear();
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    uint64_t size = 0;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size < Offset) { // cleared or replaced: start again
        Offset = 0;
        Partial.clear();
        changed = changed || !Lines.empty();
        Lines.clear();
    }
    if (size == Offset)
        return changed;
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return changed;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(Offset);
    if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN))
        return changed;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
        Offset += got;
        Partial.append(chunk, got);
    }
    size_t start = 0;
    for (size_t end; (end = Partial.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = Partial.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Lines.push_back(std::move(line));
        changed = true;
    }
    Partial.erase(0, start);
    while (Lines.size() > Keep)
        Lines.pop_front();
    return changed;
}

std::string JournalTail::Text() const
{
    std::string text;
    for (const std::string& line : Lines)
        text += line + "\r\n";
    return text;
}

std::string JournalPathOf(const std::string& benchPath, const BenchText& reading)
{
    const std::string chosen = reading.Value("journal", "");
    return chosen.empty() ? benchPath + ".journal" : chosen;
}

} // namespace sim
