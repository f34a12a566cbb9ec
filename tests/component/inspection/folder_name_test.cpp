// The program unpacked into a folder whose name the ANSI code page cannot spell (Chinese on a
// Western-European Windows): it must still find the maker's libraries and the configuration
// beside it, and pass a press on a fresh board. The probe is copied there and started by its
// long name through the wide functions, as Explorer starts a program.
#include "base/Handles.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/TestBench.h"
#include "tests/support/TextFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr wchar_t FOLDER[] = L"检测工具 KV7";
constexpr const char* FILES[] = {"press_probe.exe", JTAG_DLL, DOWNLOAD_DLL, "KV7_MassProduction_150.sof",
                                 "KV7_MassProduction_340.sof", "KV7_MassProduction_150ES.sof",
                                 "KV7_MassProduction_260.sof"};

std::wstring Wide(const std::string& ansi) { return std::wstring(ansi.begin(), ansi.end()); } // ASCII here

// The probe's output lines; the process is waited for.
std::vector<std::string> RunFrom(const std::wstring& folder)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0))
        return {"no pipe"};
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    std::wstring commandLine = L"\"" + folder + L"press_probe.exe\"";
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return {"no start: error " + std::to_string(GetLastError())};
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    writeEnd.Reset();
    std::string output;
    char chunk[512];
    DWORD got;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(process.Get(), INFINITE);
    return SplitLines(output);
}

} // namespace

TEST(ProgramFolder, NamedInALanguageTheCodePageCannotSpell)
{
    ASSERT_EQ(GetACP(), 1252u) << "runs under a Western-European locale (LC_ALL)";
    TestBench bench("chain = EP3SL150\n");
    const std::wstring folder = Wide(bench.Folder) + FOLDER + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << "is the locale installed (locales-all)?";
    for (const char* file : FILES)
        ASSERT_TRUE(CopyFileW(Wide(BuiltFile(file)).c_str(), (folder + Wide(file)).c_str(), FALSE)) << file;

    const std::vector<std::string> lines = RunFrom(folder);
    EXPECT_EQ(lines, (std::vector<std::string>{"box Warning Warning:", "status ORBA-A PASS"})) << bench.JournalText();
    // The library was handed the configuration by a name it can open: the folder's short one.
    const std::vector<std::string> downloads = bench.JournalLines("download jtag ");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_NE(downloads[0].find("KV7_MassProduction_150.sof\""), std::string::npos) << downloads[0];
    EXPECT_NE(downloads[0].find("result=1"), std::string::npos) << downloads[0];

    for (const char* file : FILES)
        DeleteFileW((folder + Wide(file)).c_str());
    RemoveDirectoryW(folder.c_str());
}
