/*
 * The bench of one test. Each test case runs in a process of its own, so the environment set
 * here is that test's alone.
 */
#include "TestBench.h"

#include "BuiltFiles.h"
#include "Journal.h"
#include "TextFiles.h"

#include <windows.h>

std::string CurrentDirectory()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

TestBench::TestBench(const std::optional<std::string>& text, const std::string& folderName)
    : Temp(folderName), Folder(Temp.Path()), Path(Temp / "bench.ini"), SavedDirectory(CurrentDirectory())
{
    if (text)
        Write(*text);
    SetEnvironmentVariableA("KV7_BENCH", Path.c_str());
}

TestBench::~TestBench()
{
    // A folder that is current cannot be removed.
    SetCurrentDirectoryA(SavedDirectory.c_str());
    SetEnvironmentVariableA("KV7_BENCH", nullptr);
}

void TestBench::Write(const std::string& text) const { WriteText(Path, text); }

std::string TestBench::Text() const { return ReadText(Path); }

std::string TestBench::JournalText() const { return ReadText(Path + ".journal"); }

std::vector<std::string> TestBench::Journal() const { return ::JournalLines(JournalText()); }

std::vector<std::string> TestBench::JournalLines(const std::string& prefix) const
{
    std::vector<std::string> picked;
    for (const std::string& line : Journal())
        if (line.rfind(prefix, 0) == 0)
            picked.push_back(line);
    return picked;
}

std::vector<std::string> TestBench::JtagWrites() const
{
    std::vector<std::string> requests;
    for (const std::string& line : JournalLines("jtag write ")) {
        const size_t from = line.find("bytes=") + 6;
        requests.push_back(line.substr(from, line.find(" result=") - from));
    }
    return requests;
}

int32_t JtagCallCount(const char* entry)
{
    using CallCount = int32_t(__stdcall*)(const char*);
    HMODULE library = GetModuleHandleA(JTAG_DLL);
    if (!library)
        return -1;
    auto count = reinterpret_cast<CallCount>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "SIM_JtagCallCount")));
    return count ? count(entry) : -1;
}
