// KV7Check.exe from a folder set up as a production PC's: the check, both maker libraries and
// the four configurations, Quartus registered. Complete, every line is OK and the exit code 0;
// with one piece broken, that piece's line and only it says FAIL, the exit code counts it, and
// every other line still comes. The passive checks run none of the maker's code (the bench's
// journal stays empty), nor does /board with the tool open; no check downloads anything, and the
// check leaves no file behind, neither its own nor the tool's.
#include "app/Entry.h"
#include "base/Handles.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Folders.h"
#include "tests/support/QuartusRegistry.h"
#include "tests/support/TestBench.h"
#include "tests/support/TextFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <memory>

namespace {

constexpr const char* CONFIGURATIONS[] = {"KV7_MassProduction_150.sof", "KV7_MassProduction_340.sof",
                                          "KV7_MassProduction_150ES.sof", "KV7_MassProduction_260.sof"};
constexpr size_t PASSIVE_CHECKS = 17;
constexpr size_t BOARD_CHECKS = 3;

// An environment variable of this process, and so of the check it starts, put back afterwards.
class TVariable {
public:
    TVariable(const char* name, const std::string& value) : Name(name)
    {
        char old[1024];
        const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        if (length > 0 && length < sizeof old)
            Old = std::string(old, length);
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~TVariable() { SetEnvironmentVariableA(Name, Old.empty() ? nullptr : Old.c_str()); }
    TVariable(const TVariable&) = delete;
    TVariable& operator=(const TVariable&) = delete;

private:
    const char* Name;
    std::string Old;
};

struct TDesk {
    TestBench& Bench;
    const std::string App; // the installation's folder
    const QuartusRegistry& Registry;
    const std::string Temp; // the temporary folder of the test, and so of its check
    std::unique_ptr<TVariable> Tmp = nullptr; // the tool's temporary folder, TMP before TEMP
    UniqueHandle ToolMutex = {}; // the tool open in this session
    std::unique_ptr<ChildProcess> Programmer = nullptr; // an earlier detection's, held, its report open
};

struct TCase {
    const char* Name;
    const char* Bench;
    bool Board; // with /board
    std::function<void(TDesk&)> Break;
    std::vector<std::string> Failing; // the checks that must say FAIL
    const char* Says;                 // in each failing line
    std::vector<std::string> Warning = {}; // the checks that must say WARN, beside the account's
    bool Windowless = false; // started in a console of its own that has no window, as a scheduler starts it
};

// The check's output through a pipe, as a deployment script reads it: it must not wait for a key.
ProgramOutput RunCheck(const std::string& app, bool board)
{
    return RunForOutput(L"\"" + Widened(app) + L"KV7Check.exe\"" + (board ? L" /board" : L""));
}

// The account's line warns where the check runs elevated, as the test and its check do under Wine.
bool Elevated()
{
    UniqueHandle token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()) &&
           GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated;
}

// An earlier detection's programmer, held by the bench while its output still goes to the
// tool's report, as one that outlived its detection.
void StartHeldProgrammer(TDesk& desk)
{
    const std::string programmer = BuiltFile("..\\quartus\\bin\\quartus_pgm.exe");
    desk.Programmer = std::make_unique<ChildProcess>("cmd /c \"\"" + programmer + "\" -c USB-Blaster[USB-0] -a > \"" +
                                                     desk.Temp + "KV7_Output.txt\"\"");
    for (int i = 0; i < 600 && desk.Bench.JournalLines("held programmer").empty(); ++i)
        Sleep(50);
    if (desk.Bench.JournalLines("held programmer").empty())
        throw std::runtime_error("the programmer did not start");
}

// "FAIL  Quartus value: ..." -> {"Quartus value", "FAIL"}
std::pair<std::string, std::string> CheckOf(const std::string& line)
{
    const size_t colon = line.find(": ", 6);
    return {line.substr(6, colon - 6), line.substr(0, line.find(' '))};
}

void WriteFirstBytes(const std::string& from, const std::string& to, size_t count)
{
    WriteText(to, ReadText(from).substr(0, count));
}

// The library built for the other processor: the machine field of its PE header changed.
void OtherMachine(const std::string& path)
{
    std::string bytes = ReadText(path);
    const uint32_t peHeader = *reinterpret_cast<const uint32_t*>(bytes.data() + 0x3C);
    uint16_t& machine = *reinterpret_cast<uint16_t*>(bytes.data() + peHeader + 4);
    machine = machine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
    WriteText(path, bytes);
}

const TCase CASES[] = {
    {"Complete", "", false, nullptr, {}, nullptr},
    {"CompleteWithBoard", "configured = yes\n", true, nullptr, {}, nullptr},
    {"NoQuartusValue", "", false, [](TDesk& desk) { desk.Registry.Remove(); }, {"Quartus value"}, "missing"},
    {"NoProgrammer", "", false, [](TDesk& desk) { desk.Registry.Set(desk.Bench.Folder.substr(0, desk.Bench.Folder.size() - 1)); },
     {"Quartus programmer"}, "quartus_pgm.exe"},
    {"NoJtagLibrary", "", false, [](TDesk& desk) { DeleteFileA((desk.App + JTAG_DLL).c_str()); },
     {JTAG_DLL}, "missing"},
    {"DownloadLibraryLacksAnEntry", "", false,
     [](TDesk& desk) { CopyBuiltFile(LackingVariant("download", "PALDRIX_GetQuatusVersion"), desk.App); },
     {DOWNLOAD_DLL}, "lacks PALDRIX_GetQuatusVersion"},
    {"JtagLibraryCutShort", "", false,
     [](TDesk& desk) { WriteFirstBytes(BuiltFile(JTAG_DLL), desk.App + JTAG_DLL, 1024); }, {JTAG_DLL}, "damaged"},
    {"JtagLibraryForAnotherProcessor", "", false, [](TDesk& desk) { OtherMachine(desk.App + JTAG_DLL); },
     {JTAG_DLL}, "built for "},
    {"NoConfiguration", "", false, [](TDesk& desk) { DeleteFileA((desk.App + CONFIGURATIONS[3]).c_str()); },
     {CONFIGURATIONS[3]}, "missing for SIII-260"},
    {"EmptyConfiguration", "", false, [](TDesk& desk) { WriteText(desk.App + CONFIGURATIONS[0], ""); },
     {CONFIGURATIONS[0]}, "empty"},
    {"TemporaryFolderMissing", "", false,
     [](TDesk& desk) { desk.Tmp = std::make_unique<TVariable>("TMP", desk.Bench.Folder + "gone\\"); },
     {"Temporary folder"}, "no file can be made"},
    {"TemporaryFolderIsAFile", "", false,
     [](TDesk& desk) { desk.Tmp = std::make_unique<TVariable>("TMP", desk.Bench.Path); },
     {"Temporary folder"}, "no file can be made"},
    {"BoardSwitchedOff", "powered = no\n", true, nullptr, {"JTAG chain"}, "no device"},
    {"JtagLibraryNeedsAMissingLibrary", "", false,
     [](TDesk& desk) { CopyBuiltFile("..\\variants\\jtag-needs-absent\\PALDRIX_JTAG.DLL", desk.App); },
     {JTAG_DLL}, "needs KV7_ABSENT.DLL"},
    {"JtagLibraryAsksForAMissingAssembly", "", false,
     [](TDesk& desk) { CopyBuiltFile("..\\variants\\jtag-needs-assembly\\PALDRIX_JTAG.DLL", desk.App); },
     {JTAG_DLL}, "needs side-by-side assembly Paldrix.Absent.Runtime 1.2.3.4"},
    {"ToolOpenRunsNoProgrammer", "configured = yes\n", true,
     [](TDesk& desk) { desk.ToolMutex.Reset(CreateMutexA(nullptr, TRUE, INSTANCE_MUTEX_NAME)); }, {}, nullptr,
     {"Running tool"}},
    {"ReportHeldByAnEarlierProgrammer", "hold = programmer\nconfigured = yes\n", true, StartHeldProgrammer,
     {"cmd.exe", "JTAG chain"}, "quartus_pgm.exe"},
    {"NoKeyWaitWithoutAWindow", "", false, nullptr, {}, nullptr, {}, true},
};

// The case by its name in the test's name and failure messages.
void PrintTo(const TCase& test, std::ostream* out) { *out << test.Name; }

class Check : public testing::TestWithParam<TCase> {};

TEST_P(Check, SaysFailForTheBrokenPieceAlone)
{
    const TCase& test = GetParam();
    TestBench bench(test.Bench);
    QuartusRegistry registry;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    TDesk desk{bench, bench.Folder + "app\\", registry, temp};
    ASSERT_TRUE(MakeFolders(desk.App));
    for (const char* file : {"KV7Check.exe", JTAG_DLL, DOWNLOAD_DLL})
        ASSERT_TRUE(CopyBuiltFile(file, desk.App)) << file;
    for (const char* file : CONFIGURATIONS)
        ASSERT_TRUE(CopyBuiltFile(file, desk.App)) << file;
    if (test.Break)
        test.Break(desk);

    if (test.Windowless) {
        ChildProcess check("\"" + desk.App + "KV7Check.exe\"", CREATE_NO_WINDOW);
        const std::optional<DWORD> exitCode = check.Wait(60000);
        ASSERT_TRUE(exitCode.has_value()) << "waits for a key nobody can press";
        EXPECT_EQ(*exitCode, 0u);
        return;
    }
    const ProgramOutput run = RunCheck(desk.App, test.Board);
    if (desk.Programmer) {
        bench.Write("");
        EXPECT_TRUE(desk.Programmer->Wait(30000).has_value());
    }
    // With the tool open, the cmd line and the board checks stand aside.
    const bool toolOpen = static_cast<bool>(desk.ToolMutex);
    const size_t checks = PASSIVE_CHECKS + (test.Board && !toolOpen ? BOARD_CHECKS : 0) - (toolOpen ? 1 : 0);
    ASSERT_EQ(run.Lines.size(), checks + 2) << testing::PrintToString(run.Lines);
    std::vector<std::string> failing;
    std::vector<std::string> warning;
    for (size_t i = 1; i <= checks; ++i) {
        const auto [check, tag] = CheckOf(run.Lines[i]);
        ASSERT_TRUE(tag == "OK" || tag == "WARN" || tag == "FAIL") << run.Lines[i];
        if (tag == "WARN" && check != "Account")
            warning.push_back(check);
        if (check == "Account") {
            EXPECT_EQ(tag, Elevated() ? "WARN" : "OK") << run.Lines[i];
        }
        if (tag == "FAIL") {
            failing.push_back(check);
            EXPECT_NE(run.Lines[i].find(" -> "), std::string::npos) << "says what to do: " << run.Lines[i];
            if (test.Says) {
                EXPECT_NE(run.Lines[i].find(test.Says), std::string::npos) << run.Lines[i];
            }
        }
    }
    EXPECT_EQ(failing, test.Failing) << testing::PrintToString(run.Lines);
    if (test.Failing.empty()) {
        EXPECT_EQ(warning, test.Warning) << testing::PrintToString(run.Lines);
    }
    EXPECT_EQ(run.ExitCode, test.Failing.size());
    EXPECT_EQ(run.Lines.back().rfind(test.Failing.empty() ? "Verdict: ready" : "Verdict: NOT ready", 0), 0u)
        << run.Lines.back();

    if (!test.Board || toolOpen) {
        EXPECT_EQ(bench.JournalText(), "") << "the check ran the maker's code or the programmer";
    }
    EXPECT_TRUE(bench.JournalLines("download jtag").empty()) << "the check downloaded";
    EXPECT_TRUE(FileNames(temp, "KV7Check-*").empty()) << "left in " << temp;
    EXPECT_TRUE(FileNames(temp, "KV7_*").empty()) << "left in " << temp;
}

INSTANTIATE_TEST_SUITE_P(Installations, Check, testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
