// The JTAG open runs with the Quartus bin folder current, found through the machine's
// registry, and leaves the executable's folder current whatever the registry says. These
// tests change the registered Quartus folder, so they hold the registry lock and put it back.
#include "TestBench.h"

#include "base/Handles.h"
#include "base/Paths.h"
#include "board/Jtagport.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr char KEY[] = "SOFTWARE\\Altera Corporation\\Quartus";
constexpr char VALUE[] = "Quartus Install Directory";

bool KeyExists()
{
    UniqueKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Remembers the registered folder and puts it back when the test ends.
class TRegistryState {
public:
    TRegistryState()
    {
        UniqueKey key;
        char folder[MAX_PATH] = "";
        DWORD size = sizeof folder;
        Had = RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_READ, key.Put()) == ERROR_SUCCESS &&
              RegQueryValueExA(key.Get(), VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size) ==
                  ERROR_SUCCESS;
        Folder = folder;
    }
    ~TRegistryState()
    {
        if (Had)
            Register(Folder);
        else
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, KEY, VALUE);
    }
    static void Register(const std::string& folder)
    {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, KEY, VALUE, REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() + 1));
    }

private:
    bool Had;
    std::string Folder;
};

std::string CurrentDirectory()
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder) + "\\";
}

// Opens a port from the bench folder and returns the folder the library was called from.
std::string OpenFromBenchFolder(TTestBench& bench)
{
    SetCurrentDirectoryA(bench.Folder.c_str());
    {
        TJtagPort port(0, "");
        EXPECT_TRUE(port.Open());
        port.Close();
    }
    EXPECT_EQ(CurrentDirectory(), ExeFolder());
    auto opens = bench.JournalLines("jtag open ");
    if (opens.size() != 1)
        return "(" + std::to_string(opens.size()) + " opens)";
    size_t cwd = opens[0].find(" cwd=\"") + 6;
    return opens[0].substr(cwd, opens[0].find('"', cwd) - cwd);
}

} // namespace

TEST(QuartusFolder, OpenRunsInTheRegisteredBinFolder)
{
    TRegistryState keep;
    TTestBench bench("");
    std::string quartus = bench.Folder + "quartus";
    CreateDirectoryA(quartus.c_str(), nullptr);
    CreateDirectoryA((quartus + "\\bin").c_str(), nullptr);
    TRegistryState::Register(quartus);
    EXPECT_EQ(OpenFromBenchFolder(bench), quartus + "\\bin");
    RemoveDirectoryA((quartus + "\\bin").c_str());
    RemoveDirectoryA(quartus.c_str());
}

TEST(QuartusFolder, OpenWithoutQuartusStillOpensAndNeverCreatesTheKey)
{
    TRegistryState keep;
    TTestBench bench("");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, KEY, VALUE);
    OpenFromBenchFolder(bench);

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KEY);
    ASSERT_FALSE(KeyExists());
    TTestBench again("");
    OpenFromBenchFolder(again);
    EXPECT_FALSE(KeyExists());
}
