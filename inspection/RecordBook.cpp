#include "RecordBook.h"

#include "base/Box.h"
#include "base/PathSpelling.h"
#include "base/SystemError.h"
#include "base/Trace.h"
#include "inspection/Station.h"

#include <knownfolders.h>
#include <shlobj.h>

namespace {

constexpr char UTF8_BOM[] = "\xEF\xBB\xBF";
constexpr char LINE_END[] = "\r\n";
// A copy of the tool in another session holds the file's lock only while it writes a line.
constexpr DWORD LOCK_WAIT_MS = 500;
constexpr char RECORDS_NOT_WRITTEN[] = "The records of the presses cannot be written in:\n";
constexpr char RECORDS_KEPT[] = "\nThe tool keeps them and writes them there as soon as it can.";

// Held while the lock is.
class TLockHeld {
public:
    explicit TLockHeld(HANDLE mutex) : Mutex(mutex) {}
    ~TLockHeld() { ReleaseMutex(Mutex); }
    TLockHeld(const TLockHeld&) = delete;
    TLockHeld& operator=(const TLockHeld&) = delete;

private:
    HANDLE Mutex;
};

// Whether a file of `size` bytes ends with a whole line.
bool EndsWithLineEnd(HANDLE file, const LARGE_INTEGER& size)
{
    char end[2] = {};
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(size.QuadPart - 2);
    at.OffsetHigh = static_cast<DWORD>((size.QuadPart - 2) >> 32);
    DWORD read = 0;
    return size.QuadPart >= 2 && ReadFile(file, end, 2, &read, &at) && read == 2 && end[0] == '\r' && end[1] == '\n';
}

// Appends the lines to the file in the folder; "" once they are all in it, else why not.
std::string AppendLines(const std::wstring& folder, const std::wstring& name, const std::string& lines)
{
    // Appends of two processes to one file are atomic on Windows, but not under Wine; and a
    // new file gets its header only once. The lock is named after the file: it is a file of
    // this account's, so only copies of the tool in this account's sessions share it.
    UniqueHandle lock(CreateMutexW(nullptr, FALSE, (L"Global\\KV7Inspect record " + name).c_str()));
    if (!lock)
        return "the file's lock: " + SystemErrorText(GetLastError());
    const DWORD waited = WaitForSingleObject(lock.Get(), LOCK_WAIT_MS);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return "another copy of the tool kept the file's lock";
    TLockHeld held(lock.Get());

    UniqueHandle file = OpenRecordFile(folder + name, OPEN_ALWAYS);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return SystemErrorText(GetLastError());
    std::string text;
    if (size.QuadPart == 0)
        text = std::string(UTF8_BOM) + RECORD_HEADER + LINE_END;
    else if (!EndsWithLineEnd(file.Get(), size))
        text = LINE_END; // a line left unfinished (a full disk, a power cut) stays apart from ours
    text += lines;
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return SystemErrorText(GetLastError());
    if (written != text.size())
        return "written short";
    // Written, the lines are in the file; a failed flush must not have them written twice.
    if (!FlushFileBuffers(file.Get()))
        Trace("records of %s not flushed: %s", Readable(folder + name).c_str(),
              SystemErrorText(GetLastError()).c_str());
    return std::string();
}

} // namespace

std::wstring RecordsFolder()
{
    PWSTR common = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &common)))
        folder = std::wstring(common) + L"\\KV7Inspect\\Records\\";
    CoTaskMemFree(common);
    return folder;
}

std::string MakeFolder(const std::wstring& folder)
{
    // Another copy of the tool may make it meanwhile.
    auto made = [&folder] { return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS; };
    if (made())
        return std::string();
    if (GetLastError() == ERROR_PATH_NOT_FOUND) {
        const std::wstring above = FolderOf(folder.substr(0, folder.find_last_not_of(L'\\') + 1));
        if (!above.empty() && above.size() < folder.size() && MakeFolder(above).empty() && made())
            return std::string();
    }
    return SystemErrorText(GetLastError());
}

UniqueHandle OpenRecordFile(const std::wstring& path, DWORD disposition)
{
    // Append access alone puts every write at the end of the file, whatever another writer did
    // meanwhile; reading is for the last line's end, and the attributes for the file's size
    // (GetFileSizeEx needs them on Windows; Wine answers without).
    return UniqueHandle(CreateFileW(path.c_str(),
                                    FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

TRecordBook::TRecordBook(std::wstring folder) : Where(std::move(folder)) {}

void TRecordBook::Add(const TPressRecord& record)
{
    Kept.push_back({Wide(RecordFileName(record.Start, record.Computer, record.Account)),
                    RecordLine(record) + LINE_END});
    if (WriteKept().empty() || Told)
        return;
    Told = true;
    ShowBox(BoxKind::Information, BoxButtons::Ok, RECORDS_NOT_WRITTEN + Readable(Where) + RECORDS_KEPT);
}

void TRecordBook::Close()
{
    WriteKept();
    // A line longer than a trace line goes in pieces.
    constexpr size_t PIECE = 1800;
    for (const TKept& kept : Kept) {
        const std::string line = Readable(Wide(kept.Line.substr(0, kept.Line.size() - 2)));
        Trace("record not written: %s", line.substr(0, PIECE).c_str());
        for (size_t at = PIECE; at < line.size(); at += PIECE)
            Trace("record not written, continued: %s", line.substr(at, PIECE).c_str());
    }
    Kept.clear();
}

std::string TRecordBook::WriteKept()
{
    const std::string folderFailure =
        Where.empty() ? "Windows names no common application data folder" : MakeFolder(Where);
    std::string first;
    std::vector<TKept> left;
    std::vector<bool> tried(Kept.size());
    // File by file, each file's lines in the order of their presses and in one write.
    for (size_t i = 0; i < Kept.size(); ++i) {
        if (tried[i])
            continue;
        std::vector<size_t> same;
        std::string lines;
        for (size_t j = i; j < Kept.size(); ++j) {
            if (Kept[j].File == Kept[i].File) {
                tried[j] = true;
                same.push_back(j);
                lines += Kept[j].Line;
            }
        }
        const std::string failure = folderFailure.empty() ? AppendLines(Where, Kept[i].File, lines) : folderFailure;
        if (failure.empty())
            continue;
        for (size_t j : same)
            left.push_back(Kept[j]);
        Trace("records not written to %s: %s (%lu kept)", Readable(Where + Kept[i].File).c_str(), failure.c_str(),
              static_cast<unsigned long>(same.size()));
        if (first.empty())
            first = failure;
    }
    Kept = std::move(left);
    return first;
}
