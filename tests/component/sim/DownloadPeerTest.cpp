// The simulated download library: the fit rule between a configuration file and the chain's
// first device, the refusals, the version, the journal line, and the library variants that each
// lack exactly one entry point.
#include "BenchFixture.h"

#include "base/Handles.h"
#include "base/Paths.h"
#include "tests/support/BuiltFiles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

template <typename F>
F Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Download {
public:
    explicit Download(const std::string& path = ExeFolder() + "PALDRIX_DOWNLOAD.DLL")
        : Module(LoadLibraryA(path.c_str()))
    {
        Version = Entry<decltype(Version)>(Module.Get(), "PALDRIX_GetQuatusVersion");
        JtagDownload = Entry<decltype(JtagDownload)>(Module.Get(), "PALDRIX_JtagDownload");
    }

    // The download as the program makes it.
    bool Configure(const std::string& sof) { return JtagDownload(sof.c_str(), 80000, false, 0, 0, false, true); }

    UniqueModule Module;
    double(__stdcall* Version)() = nullptr;
    bool(__stdcall* JtagDownload)(const char*, int32_t, bool, int32_t, int32_t, bool, bool) = nullptr;
};

const std::vector<std::string> JTAG_EXPORTS = {"PALDRIX_JtagOpen", "PALDRIX_JtagClose", "PALDRIX_JtagWrite",
                                               "PALDRIX_JtagRead"};
const std::vector<std::string> DOWNLOAD_EXPORTS = {
    "PALDRIX_DownloadEEPROMByByteBlaster", "PALDRIX_JtagDownloadByteBlaster", "PALDRIX_JtagDownload",
    "PALDRIX_JtagDownloadChain",           "PALDRIX_Programming",             "PALDRIX_DownloadNios2",
    "PALDRIX_DownloadNios2Ex",             "PALDRIX_Nios2Terminal",           "PALDRIX_FlashProgrammer",
    "PALDRIX_AsDownload",                  "PALDRIX_AsDownloadPV",            "PALDRIX_IsUsbBlasterDriverReady",
    "PALDRIX_GetQuatusVersion",            "PALDRIX_SetQuartusProgrammerPath", "PALDRIX_quartus_pgm",
    "PALDRIX_EnableBlasterII"};

std::string Sof(const std::string& model)
{
    return ExeFolder() + "KV7_MassProduction_" + model + ".sof";
}

class DownloadPeer : public BenchFixture {
protected:
    void SetUp() override
    {
        BenchFixture::SetUp();
        ASSERT_TRUE(Library.Version && Library.JtagDownload);
    }

    Download Library;
};

} // namespace

TEST_F(DownloadPeer, ConfiguresOnlyWithTheFileThatFitsTheFirstDevice)
{
    const std::pair<const char*, std::vector<std::string>> files[] = {
        {"150", {"EP3SL110/50", "EP3SL150"}},
        {"340", {"EP3SL340", "EP3SL340ES"}},
        {"150ES", {"EP3SL110/50ES", "EP3SL150ES"}},
        {"260", {"EP3SE260", "EP3SE260ES"}},
    };
    for (const auto& [model, fitting] : files) {
        for (const auto& [other, devices] : files) {
            for (const std::string& device : devices) {
                const bool fits = std::string(model) == other;
                Bench.Write("chain = 020B40DD " + device + ", 020B20DD EP3SL150\nconfigured = no\n");
                EXPECT_EQ(Library.Configure(Sof(model)), fits) << model << " on " << device;
                EXPECT_NE(Bench.Text().find(fits ? "configured = yes" : "configured = no"), std::string::npos)
                    << model << " on " << device;
            }
        }
    }
    // Only the first device counts; names are whole and case-sensitive.
    for (const char* chain : {"EP3SL150, EP3SL340", "ep3sl340", "EP3SL340X", ""}) {
        Bench.Write(std::string("chain = ") + chain + "\n");
        EXPECT_FALSE(Library.Configure(Sof("340"))) << chain;
    }
}

TEST_F(DownloadPeer, RefusesWithoutPowerCableOrAUsableFile)
{
    const std::pair<const char*, std::string> cases[] = {
        {"powered = no\n", Sof("340")},
        {"cable = no\n", Sof("340")},
        {"download_fails = yes\n", Sof("340")},
        {"", Bench.Folder + "KV7_MassProduction_340.sof"}, // no such file
        {"", ExeFolder() + "PALDRIX_DOWNLOAD.DLL"},   // not a configuration
    };
    for (const auto& [bench, sof] : cases) {
        Bench.Write(bench);
        EXPECT_FALSE(Library.Configure(sof)) << bench << sof;
        EXPECT_EQ(Bench.Text().find("configured = yes"), std::string::npos) << bench << sof;
    }
    const std::vector<std::string> lines = Bench.Journal();
    ASSERT_EQ(lines.size(), 5u);
    const char* reasons[] = {"off", "no-cable", "fails", "no-file", "not-sof"};
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].ends_with(std::string(" result=0 why=") + reasons[i])) << lines[i];
}

TEST_F(DownloadPeer, JournalsAllSevenArgumentsTheFolderAndTheTimeTaken)
{
    SetCurrentDirectoryA(ExeFolder().c_str());
    const std::string cwd = ExeFolder().substr(0, ExeFolder().size() - 1);
    Bench.Write("download_ms = 400\r\n");
    const DWORD start = GetTickCount();
    EXPECT_TRUE(Library.Configure(Sof("340")));
    EXPECT_GE(GetTickCount() - start, 400u);
    EXPECT_EQ(Bench.Text(), "download_ms = 400\r\nconfigured = yes\r\n");

    // Flags are single bytes: a caller that passes something else than 0 or 1 shows up.
    using RawDownload = bool(__stdcall*)(const char*, int32_t, uint8_t, int32_t, int32_t, uint8_t, uint8_t);
    const auto raw = reinterpret_cast<RawDownload>(reinterpret_cast<void*>(Library.JtagDownload));
    EXPECT_FALSE(raw(nullptr, -5, 2, 7, 8, 0xFF, 0));

    const std::vector<std::string> expected = {
        "download jtag path=\"" + Sof("340") + "\" arg2=80000 arg3=0 arg4=0 arg5=0 arg6=0 arg7=1 cwd=\"" + cwd
            + "\" result=1",
        "download jtag path=null arg2=-5 arg3=2 arg4=7 arg5=8 arg6=255 arg7=0 cwd=\"" + cwd
            + "\" result=0 why=no-file",
    };
    EXPECT_EQ(Bench.Journal(), expected);
}

TEST_F(DownloadPeer, VersionIsTheBenchsQuartusVersion)
{
    EXPECT_EQ(Library.Version(), 9.1);
    Bench.Write("quartus_version = 0\n");
    EXPECT_EQ(Library.Version(), 0.0);
    Bench.Write("quartus_version = 13.1\n");
    EXPECT_EQ(Library.Version(), 13.1);
    EXPECT_EQ(Bench.Journal(), (std::vector<std::string>{"download version result=9.1", "download version result=0",
                                                         "download version result=13.1"}));
}

TEST(LibraryVariants, EachLacksExactlyItsOneEntryPoint)
{
    const std::pair<const char*, const std::vector<std::string>*> libraries[] = {
        {"PALDRIX_JTAG.DLL", &JTAG_EXPORTS},
        {"PALDRIX_DOWNLOAD.DLL", &DOWNLOAD_EXPORTS},
    };
    for (const auto& [file, exports] : libraries) {
        const std::string kind = file == std::string("PALDRIX_JTAG.DLL") ? "jtag" : "download";
        {
            const UniqueModule full(LoadLibraryA((ExeFolder() + file).c_str()));
            ASSERT_TRUE(full) << file;
            for (const std::string& name : *exports)
                EXPECT_NE(GetProcAddress(full.Get(), name.c_str()), nullptr) << file << " " << name;
        }

        for (const std::string& lacking : *exports) {
            const std::string path = BuiltFile(LackingVariant(kind, lacking));
            const UniqueModule variant(LoadLibraryA(path.c_str()));
            ASSERT_TRUE(variant) << path;
            for (const std::string& name : *exports)
                EXPECT_EQ(GetProcAddress(variant.Get(), name.c_str()) == nullptr, name == lacking) << path << " " << name;
        }
    }
}
