// The JTAG open runs with the Quartus bin folder current, found through the machine's
// registry, and leaves the executable's folder current whatever the registry says. These
// tests change the registered Quartus folder, so they hold the registry lock and put it back.
#include "base/Handles.h"
#include "base/Paths.h"
#include "board/Jtagport.h"
#include "tests/support/QuartusRegistry.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

bool KeyExists()
{
    UniqueKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, QUARTUS_KEY, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Opens a port from the bench folder and returns the folder the library was called from.
std::string OpenFromBenchFolder(TestBench& bench)
{
    SetCurrentDirectoryA(bench.Folder.c_str());
    {
        TJtagPort port(0, "");
        EXPECT_TRUE(port.Open());
        port.Close();
    }
    EXPECT_EQ(CurrentDirectory() + "\\", ExeFolder());
    auto opens = bench.JournalLines("jtag open ");
    if (opens.size() != 1)
        return "(" + std::to_string(opens.size()) + " opens)";
    size_t cwd = opens[0].find(" cwd=\"") + 6;
    return opens[0].substr(cwd, opens[0].find('"', cwd) - cwd);
}

} // namespace

TEST(QuartusFolder, OpenRunsInTheRegisteredBinFolder)
{
    QuartusRegistry keep;
    TestBench bench("");
    std::string quartus = bench.Folder + "quartus";
    CreateDirectoryA(quartus.c_str(), nullptr);
    CreateDirectoryA((quartus + "\\bin").c_str(), nullptr);
    keep.Set(quartus);
    EXPECT_EQ(OpenFromBenchFolder(bench), quartus + "\\bin");
}

TEST(QuartusFolder, OpenWithoutQuartusStillOpensAndNeverCreatesTheKey)
{
    QuartusRegistry keep;
    TestBench bench("");
    keep.Remove();
    OpenFromBenchFolder(bench);

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, QUARTUS_KEY);
    ASSERT_FALSE(KeyExists());
    TestBench again("");
    OpenFromBenchFolder(again);
    EXPECT_FALSE(KeyExists());
}
