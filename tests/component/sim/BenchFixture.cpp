/*
 * A private bench for one test, removed with everything in it afterwards.
 */
#include "BenchFixture.h"

#include "base/Handles.h"

#include <windows.h>

#include <atomic>

namespace {

std::string Directory()
{
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string ReadText(const std::string& path)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (file && ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

void WriteText(const std::string& path, const std::string& text)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}

void BenchFixture::SetUp()
{
    static std::atomic<int> serial;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "kv7sim_" + std::to_string(GetCurrentProcessId()) + "_"
        + std::to_string(GetTickCount()) + "_" + std::to_string(serial++) + "\\";
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr)) << Folder;
    BenchFile = Folder + "bench.ini";
    SetEnvironmentVariableA("KV7_BENCH", BenchFile.c_str());
    SavedDirectory = Directory();
}

void BenchFixture::TearDown()
{
    SetCurrentDirectoryA(SavedDirectory.c_str());
    SetEnvironmentVariableA("KV7_BENCH", nullptr);
    RemoveFolder(Folder);
}

void BenchFixture::WriteBench(const std::string& text) const
{
    WriteText(BenchFile, text);
}

std::string BenchFixture::BenchText() const
{
    return ReadText(BenchFile);
}

std::vector<std::string> BenchFixture::JournalLines() const
{
    const std::string text = ReadText(BenchFile + ".journal");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
