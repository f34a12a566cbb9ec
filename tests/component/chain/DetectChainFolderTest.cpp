/*
 * Chain detection from folders named as accounts and installations may be named: a temporary
 * folder and a Quartus folder holding blanks and the characters cmd gives a meaning. The board
 * is found, the batch line is the one expected, and nothing but the programmer runs: decoy
 * batch files named like the fragments cmd would run out of a split path wait in the current
 * folder, where cmd looks first, and record it if they are started.
 */
#include "ChainDesk.h"

#include "chain/Jtagbus.h"
#include "tests/support/QuartusRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A folder name and how the batch file spells it. Unquoted, a blank-free name is cut at "&"
// or "," and its next fragment ("D", "A") run as a command; a lone "%" is dropped, two pair
// into a variable that expands to nothing.
struct Name {
    const char* Plain;
    const char* InBatch;
};
constexpr Name TEMP_NAMES[] = {{"R&D (100%) x", "R&D (100%%) x"}, {"R&D,50%;x=y!^%", "R&D,50%%;x=y!^%%"}};
constexpr Name QUARTUS_NAMES[] = {{"Q&A (v13) 100% x", "Q&A (v13) 100%% x"}, {"Q&A,v13;50%=y!^%", "Q&A,v13;50%%=y!^%%"}};
constexpr const char* DECOYS[] = {"D", "A", "x", "y", "v13"};

// The decoys, made current for the detection; the folder that was current comes back after.
class Decoys {
public:
    Decoys() : Saved(CurrentDirectory())
    {
        for (const char* name : DECOYS)
            WriteText(Folder / (std::string(name) + ".bat"), "@echo %~nx0>>\"" + Marker() + "\"\r\n");
        SetCurrentDirectoryA(Folder.Path().c_str());
    }
    ~Decoys() { SetCurrentDirectoryA(Saved.c_str()); }
    Decoys(const Decoys&) = delete;
    Decoys& operator=(const Decoys&) = delete;

    std::string Started() const { return ReadText(Marker()); } // "" when none was

private:
    std::string Marker() const { return Folder / "started.txt"; }

    TempFolder Folder{"kv7-decoys"};
    std::string Saved;
};

// The path, which holds the name once, as the batch line must spell it.
std::string InBatch(std::string path, const Name& name)
{
    const std::string plain = name.Plain;
    return "\"" + path.replace(path.find(plain), plain.size(), name.InBatch) + "\"";
}

// One detection, expected to find the board through exactly this batch line and nothing else.
void ExpectFoundThrough(const ChainDesk& desk, const std::string& line)
{
    Decoys decoys;
    BatchCapture batch(desk.BatchPath());
    TChainList list;
    auto bus = std::make_unique<TJtagBus>();
    const bool found = bus->DetectChain(list, 0);

    EXPECT_TRUE(found) << desk.JournalText();
    EXPECT_EQ(list.size(), 1u);
    if (!list.empty()) {
        EXPECT_STREQ(list[0]->DeviceName, "EP3SL340ES");
    }
    EXPECT_EQ(batch.Bytes, line);
    EXPECT_EQ(decoys.Started(), "") << "cmd ran a fragment of a folder name";
    EXPECT_EQ(desk.JournalLines("programmer start").size(), 1u) << desk.JournalText();
    EXPECT_NE(desk.JournalText().find("args=-c USB-Blaster[USB-0] -a\r\n"), std::string::npos);
    EXPECT_TRUE(desk.NoFileLeft());
}

} // namespace

TEST(DetectChainFolders, TemporaryFolderOfAnyName)
{
    QuartusRegistry registry;
    for (const Name& name : TEMP_NAMES) {
        SCOPED_TRACE(name.Plain);
        ChainDesk desk(name.Plain);
        ExpectFoundThrough(desk, registry.Original() + "\\bin\\quartus_pgm.exe -c USB-Blaster[USB-0] -a  >  " +
                                     InBatch(desk.ReportPath(), name));
    }
}

TEST(DetectChainFolders, QuartusFolderOfAnyName)
{
    // Both paths of the batch line at once: the temporary folder keeps a name of its own too.
    QuartusRegistry registry;
    for (const Name& name : QUARTUS_NAMES) {
        SCOPED_TRACE(name.Plain);
        ChainDesk desk(TEMP_NAMES[0].Plain);
        TempFolder installs("kv7-quartus");
        const std::string quartus = installs / name.Plain;
        ASSERT_TRUE(CreateDirectoryA(quartus.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((quartus + "\\bin").c_str(), nullptr));
        const std::string programmer = quartus + "\\bin\\quartus_pgm.exe";
        ASSERT_TRUE(CopyFileA((registry.Original() + "\\bin\\quartus_pgm.exe").c_str(), programmer.c_str(), TRUE));
        registry.Set(quartus);
        ExpectFoundThrough(desk, InBatch(programmer, name) + " -c USB-Blaster[USB-0] -a  >  " +
                                     InBatch(desk.ReportPath(), TEMP_NAMES[0]));
    }
}
