// The program unpacked into a folder whose name the ANSI code page cannot spell (Chinese on a
// Western-European Windows): it must still find the maker's libraries and the configuration
// beside it, and pass a press on a fresh board. The probe is copied there and started by its
// long name through the wide functions, as Explorer starts a program.
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr wchar_t FOLDER[] = L"检测工具 KV7";
constexpr const char* FILES[] = {"press_probe.exe", JTAG_DLL, DOWNLOAD_DLL, "KV7_MassProduction_150.sof",
                                 "KV7_MassProduction_340.sof", "KV7_MassProduction_150ES.sof",
                                 "KV7_MassProduction_260.sof"};

} // namespace

TEST(ProgramFolder, NamedInALanguageTheCodePageCannotSpell)
{
    ASSERT_EQ(GetACP(), 1252u) << "runs under a Western-European locale (LC_ALL)";
    TestBench bench("chain = EP3SL150\n");
    const std::wstring folder = Widened(bench.Folder) + FOLDER + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << "is the locale installed (locales-all)?";
    for (const char* file : FILES)
        ASSERT_TRUE(CopyFileW(Widened(BuiltFile(file)).c_str(), (folder + Widened(file)).c_str(), FALSE)) << file;

    const std::vector<std::string> lines = RunForOutput(L"\"" + folder + L"press_probe.exe\"").Lines;
    EXPECT_EQ(lines, (std::vector<std::string>{"box Warning Warning:", "status ORBA-A PASS"})) << bench.JournalText();
    // The library was handed the configuration by a name it can open: the folder's short one.
    const std::vector<std::string> downloads = bench.JournalLines("download jtag ");
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_NE(downloads[0].find("KV7_MassProduction_150.sof\""), std::string::npos) << downloads[0];
    EXPECT_NE(downloads[0].find("result=1"), std::string::npos) << downloads[0];

    for (const char* file : FILES)
        DeleteFileW((folder + Widened(file)).c_str());
    RemoveDirectoryW(folder.c_str());
}
