/*
 * The desk helpers. Each test case runs in its own process, so the environment set here is
 * that test's alone; the folders carry the process id so parallel tests never share files.
 */
#include "ChainDesk.h"

#include "base/Handles.h"

#include <chrono>

namespace {

const char QUARTUS_KEY[] = "Software\\Altera Corporation\\Quartus";
const char QUARTUS_VALUE[] = "Quartus Install Directory";

std::string SystemTemp()
{
    char buffer[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    return std::string(buffer, length);
}

} // namespace

DWORD MsSince(DWORD start) { return GetTickCount() - start; }

TempFolder::TempFolder(const std::string& name)
{
    static int counter = 0;
    // Taken once, before any test points TMP elsewhere.
    static const std::string base = SystemTemp();
    Folder = base + name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
    CreateDirectoryA(Folder.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((Folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(Folder.c_str());
}

ChainDesk::ChainDesk(const std::string& name, bool trailingBackslash)
    : Temp(name), BenchPath(Temp / "bench.ini")
{
    std::string tmp = Temp.Path();
    if (!trailingBackslash)
        tmp.pop_back();
    SetEnvironmentVariableA("TMP", tmp.c_str());
    SetEnvironmentVariableA("TEMP", tmp.c_str());
    SetEnvironmentVariableA("KV7_BENCH", BenchPath.c_str());
    Bench("");
}

void ChainDesk::Bench(const std::string& lines) const { WriteFileBytes(BenchPath, lines); }

std::string ChainDesk::Journal() const { return ReadFileBytes(BenchPath + ".journal"); }

std::string ReadFileBytes(const std::string& path)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::string();
    std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

FileWatch::FileWatch(std::string batch, std::string report)
    : Batch(std::move(batch)), Report(std::move(report)), Poller([this] {
          bool bothGone = false;
          while (!Stop) {
              const bool batchThere = GetFileAttributesA(Batch.c_str()) != INVALID_FILE_ATTRIBUTES;
              const bool reportThere = GetFileAttributesA(Report.c_str()) != INVALID_FILE_ATTRIBUTES;
              BatchSeen = BatchSeen || batchThere;
              BatchAfterBothGone = BatchAfterBothGone || (bothGone && batchThere);
              bothGone = bothGone || (!batchThere && !reportThere);
              Sleep(1);
          }
      })
{
}

FileWatch::~FileWatch()
{
    Stop = true;
    Poller.join();
}

namespace {
BatchCapture* ActiveCapture = nullptr;
}

BatchCapture::BatchCapture(const std::string& batch) : Batch(batch)
{
    ActiveCapture = this;
    Timer = SetTimer(nullptr, 0, 50, &BatchCapture::OnTimer);
}

BatchCapture::~BatchCapture()
{
    KillTimer(nullptr, Timer);
    ActiveCapture = nullptr;
}

void CALLBACK BatchCapture::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    BatchCapture* capture = ActiveCapture;
    if (!capture || capture->Captured || GetFileAttributesA(capture->Batch.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    capture->Bytes = ReadFileBytes(capture->Batch);
    capture->Captured = true;
}

BoxRecorder::BoxRecorder()
{
    SetBoxHook([this](const BoxRequest& request) {
        Boxes.push_back(request);
        return BoxAnswer::Ok;
    });
}

BoxRecorder::~BoxRecorder() { SetBoxHook(nullptr); }

QuartusRegistry::QuartusRegistry()
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return;
    char buffer[1024];
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), QUARTUS_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        buffer[size] = '\0';
        Value = buffer;
        Present = true;
    }
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
