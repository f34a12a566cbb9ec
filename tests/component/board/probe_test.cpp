// The maker's libraries are taken from the executable's folder only, and whole or not at all.
// Each case copies the probe into a folder of its own with the library (or a variant lacking
// one entry point, or nothing) beside it, runs it, and reads the boxes it was shown.
#include "base/Handles.h"
#include "base/Paths.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <span>

using Lines = std::vector<std::string>;

namespace {

// Copies board_probe.exe into the folder and runs it there with the arguments. It runs with the
// test executables' folder as its current directory: the complete libraries lie there, so a
// library found through the search path instead of by the probe's own folder would show at once.
ProgramOutput RunProbe(const std::string& folder, const std::string& arguments)
{
    if (!CopyBuiltFile("board_probe.exe", folder)) {
        ADD_FAILURE() << "board_probe.exe could not be copied to " << folder;
        return {};
    }
    return RunForOutput(Widened("\"" + folder + "board_probe.exe\" " + arguments), ExeFolderW());
}

const char INCOMPLETE_DOWNLOAD[] = "box Error OK load PALDRIX_DOWNLOAD.DLL fail. Cannot find all of desired API";
const Lines NO_DOWNLOAD = {"loaded 0", "version 0.000000", "download 0"};
const Lines NO_CONNECTION = {"connect 0", "error Fail to connect FPGA borad."};

Lines Join(const std::string& box, const Lines& rest)
{
    Lines lines{box};
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

} // namespace

TEST(Probe, MissingLibrariesAreNamedByTheirFullPath)
{
    TestBench bench("");
    EXPECT_EQ(RunProbe(bench.Folder, "board").Lines,
              Join("box Error OK fail to load dll - " + bench.Folder + JTAG_DLL, NO_CONNECTION));
    EXPECT_EQ(RunProbe(bench.Folder, "download").Lines,
              Join("box Error OK fail to load dll - " + bench.Folder + DOWNLOAD_DLL, NO_DOWNLOAD));
}

TEST(Probe, CompleteLibrariesBesideTheProgramAreTakenSilently)
{
    TestBench bench("");
    ASSERT_TRUE(CopyBuiltFile(JTAG_DLL, bench.Folder));
    ASSERT_TRUE(CopyBuiltFile(DOWNLOAD_DLL, bench.Folder));
    ASSERT_TRUE(CopyBuiltFile("KV7_MassProduction_340.sof", bench.Folder));
    EXPECT_EQ(RunProbe(bench.Folder, "board").Lines, (Lines{"connect 1", "error untouched"}));
    EXPECT_EQ(RunProbe(bench.Folder, "download").Lines, (Lines{"loaded 1", "version 9.100000", "download 1"}));
}

// Each variant lacks exactly its one entry point, so each case proves that very one is checked.
static void ExpectLacksOnly(const std::string& variant, std::span<const char* const> entries, const char* lacking)
{
    const UniqueModule library(LoadLibraryA(BuiltFile(variant).c_str()));
    ASSERT_TRUE(library) << variant;
    for (const char* entry : entries)
        EXPECT_EQ(GetProcAddress(library.Get(), entry) == nullptr, entry == std::string(lacking)) << entry;
}

class JtagVariant : public testing::TestWithParam<const char*> {};

TEST_P(JtagVariant, IsRefusedAndNeverCalled)
{
    TestBench bench("");
    ExpectLacksOnly(LackingVariant("jtag", GetParam()), JTAG_ENTRIES, GetParam());
    ASSERT_TRUE(CopyBuiltFile(LackingVariant("jtag", GetParam()), bench.Folder));
    EXPECT_EQ(RunProbe(bench.Folder, "board").Lines, Join("box Error OK fail to find some API", NO_CONNECTION));
    EXPECT_TRUE(bench.JournalLines("jtag ").empty());
}

INSTANTIATE_TEST_SUITE_P(Lacking, JtagVariant, testing::ValuesIn(JTAG_ENTRIES),
                         [](const auto& info) { return std::string(info.param); });

class DownloadVariant : public testing::TestWithParam<const char*> {};

TEST_P(DownloadVariant, IsRefusedAndNeverCalled)
{
    TestBench bench("");
    ExpectLacksOnly(LackingVariant("download", GetParam()), DOWNLOAD_ENTRIES, GetParam());
    ASSERT_TRUE(CopyBuiltFile(LackingVariant("download", GetParam()), bench.Folder));
    ASSERT_TRUE(CopyBuiltFile("KV7_MassProduction_340.sof", bench.Folder));
    EXPECT_EQ(RunProbe(bench.Folder, "download").Lines, Join(INCOMPLETE_DOWNLOAD, NO_DOWNLOAD));
    EXPECT_TRUE(bench.JournalLines("download ").empty());
}

INSTANTIATE_TEST_SUITE_P(Lacking, DownloadVariant, testing::ValuesIn(DOWNLOAD_ENTRIES),
                         [](const auto& info) { return std::string(info.param); });

// A violated precondition shows the assertion report and ends the process with code 3 before
// anything is sent to the board.
TEST(Probe, ExchangePreconditionsEndTheProcess)
{
    const std::pair<const char*, const char*> cases[] = {
        {"assert-reply-buffer", "pReturnBuffer"},
        {"assert-payload-length", "dwPayloadLen <= PKT_PC2NIOS_MAX_PL_LEN"},
    };
    for (const auto& [scenario, expression] : cases) {
        TestBench bench("configured = yes\n");
        ASSERT_TRUE(CopyBuiltFile(JTAG_DLL, bench.Folder));
        ProgramOutput run = RunProbe(bench.Folder, scenario);
        EXPECT_EQ(run.ExitCode, 3u) << scenario;
        ASSERT_EQ(run.Lines.size(), 2u) << scenario;
        EXPECT_EQ(run.Lines[0], "connect 1");
        std::string report = "box Error OK Assertion failed: " + std::string(expression) + ", file Board, line ";
        EXPECT_EQ(run.Lines[1].substr(0, report.size()), report);
        EXPECT_GT(run.Lines[1].size(), report.size());
        EXPECT_EQ(run.Lines[1].find_first_not_of("0123456789", report.size()), std::string::npos) << run.Lines[1];
        EXPECT_TRUE(bench.JournalLines("jtag write ").empty()) << scenario;
    }
}
