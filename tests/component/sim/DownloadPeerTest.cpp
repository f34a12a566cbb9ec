// The simulated download library as the peer that catches a wrong choice of the program: it
// configures the FPGA only with the file that fits the chain's first device, refuses without
// power, cable or a usable file, tells the JTAG hub when it ended (its start time counts from
// there), and journals the flags as the bytes it was handed.
#include "BenchFixture.h"

#include "base/Handles.h"
#include "tests/support/BuiltFiles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Sof(const std::string& model) { return BuiltFile("KV7_MassProduction_" + model + ".sof"); }

class DownloadPeer : public BenchFixture {
protected:
    void SetUp() override { ASSERT_TRUE(JtagDownload); }

    // The download as the program makes it.
    bool Configure(const std::string& sof) { return JtagDownload(sof.c_str(), 80000, false, 0, 0, false, true); }

    UniqueModule Module{LoadLibraryA(BuiltFile(DOWNLOAD_DLL).c_str())};
    bool(__stdcall* JtagDownload)(const char*, int32_t, bool, int32_t, int32_t, bool, bool) =
        reinterpret_cast<decltype(JtagDownload)>(
            reinterpret_cast<void*>(GetProcAddress(Module.Get(), "PALDRIX_JtagDownload")));
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
                EXPECT_EQ(Configure(Sof(model)), fits) << model << " on " << device;
                EXPECT_EQ(Bench.Text().find("configured = yes") != std::string::npos, fits) << model << " on " << device;
            }
        }
    }
    // Only the first device counts; names are whole and case-sensitive.
    for (const char* chain : {"EP3SL150, EP3SL340", "ep3sl340", "EP3SL340X", ""}) {
        Bench.Write(std::string("chain = ") + chain + "\n");
        EXPECT_FALSE(Configure(Sof("340"))) << chain;
    }
}

TEST_F(DownloadPeer, RefusesWithoutPowerCableOrAUsableFile)
{
    const std::pair<const char*, std::string> cases[] = {
        {"powered = no\n", Sof("340")},
        {"cable = no\n", Sof("340")},
        {"download_fails = yes\n", Sof("340")},
        {"", Bench.Folder + "KV7_MassProduction_340.sof"}, // no such file
        {"", BuiltFile(DOWNLOAD_DLL)},                    // not a configuration
    };
    for (const auto& [bench, sof] : cases) {
        Bench.Write(bench);
        EXPECT_FALSE(Configure(sof)) << bench << sof;
        EXPECT_EQ(Bench.Text().find("configured = yes"), std::string::npos) << bench << sof;
    }
    const std::vector<std::string> lines = Bench.Journal();
    ASSERT_EQ(lines.size(), 5u);
    const char* reasons[] = {"off", "no-cable", "fails", "no-file", "not-sof"};
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].ends_with(std::string(" result=0 why=") + reasons[i])) << lines[i];
}

// The JTAG hub refuses an open until open_ready_ms after the download that configured the FPGA.
TEST_F(DownloadPeer, HubIsReadyForTheOpenOnlyAfterItsStartTime)
{
    UniqueModule jtag(LoadLibraryA(BuiltFile(JTAG_DLL).c_str()));
    const auto open = reinterpret_cast<uint32_t(__stdcall*)(int32_t, const char*)>(
        reinterpret_cast<void*>(GetProcAddress(jtag.Get(), "PALDRIX_JtagOpen")));
    ASSERT_TRUE(open);

    // Long enough that no stall of the test reaches it.
    Bench.Write("open_ready_ms = 60000\n");
    ASSERT_TRUE(Configure(Sof("340")));
    EXPECT_NE(Bench.Text().find("downloaded_at = "), std::string::npos);
    EXPECT_EQ(open(0, ""), 0u);

    // Counted from a tick inside the download: 200 ms after a later one the hub is ready.
    Bench.Write("open_ready_ms = 200\n");
    ASSERT_TRUE(Configure(Sof("340")));
    const DWORD downloaded = GetTickCount();
    while (GetTickCount() - downloaded < 200)
        Sleep(10);
    EXPECT_NE(open(0, ""), 0u);

    // Without a start time the download writes no tick.
    Bench.Write("");
    ASSERT_TRUE(Configure(Sof("340")));
    EXPECT_EQ(Bench.Text().find("downloaded_at"), std::string::npos);
}

// Flags are single bytes: a caller that passes something else than 0 or 1 shows in the journal.
TEST_F(DownloadPeer, JournalsTheFlagsAsTheBytesItWasHanded)
{
    using RawDownload = bool(__stdcall*)(const char*, int32_t, uint8_t, int32_t, int32_t, uint8_t, uint8_t);
    const auto raw = reinterpret_cast<RawDownload>(reinterpret_cast<void*>(JtagDownload));
    EXPECT_FALSE(raw(nullptr, -5, 2, 7, 8, 0xFF, 0));
    const std::vector<std::string> journal = Bench.Journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_TRUE(journal[0].starts_with("download jtag path=null arg2=-5 arg3=2 arg4=7 arg5=8 arg6=255 arg7=0 cwd="))
        << journal[0];
}
