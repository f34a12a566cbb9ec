/*
 * The bytes chain detection writes into its batch file and the folders it builds them from, and
 * how the batch line and the command line spell a path that cmd would otherwise split, run in
 * part or expand: quoted whenever it holds a blank or a character cmd gives a meaning, with %
 * doubled only inside the batch file, and a plain path left byte for byte as it was.
 */
#include "chain/ChainCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CmdCharacter : public testing::TestWithParam<char> {};

TEST_P(CmdCharacter, QuotesThePathOnBothLines)
{
    const char c = GetParam();
    const std::string path = std::string("C:\\Users\\R") + c + "D\\Temp\\KV7_Output.txt";
    const std::string inBatch = c == '%' ? "C:\\Users\\R%%D\\Temp\\KV7_Output.txt" : path;
    EXPECT_EQ(BatchFileWord(path), "\"" + inBatch + "\"");
    EXPECT_EQ(CommandLineWord(path), "\"" + path + "\"");
}

INSTANTIATE_TEST_SUITE_P(ChainQuoting, CmdCharacter, testing::ValuesIn(std::string(" \t&|<>^()%!,;=")));

} // namespace

TEST(ChainCommand, BlankFreePathsKeepTheExactFormat)
{
    EXPECT_EQ(BatchLine("C:\\q\\bin\\quartus_pgm.exe", 0, "C:\\temp\\KV7_Output.txt"),
              "C:\\q\\bin\\quartus_pgm.exe -c USB-Blaster[USB-0] -a  >  C:\\temp\\KV7_Output.txt");
    EXPECT_EQ(BatchLine("p", 12, "r"), "p -c USB-Blaster[USB-12] -a  >  r");
}

TEST(ChainCommand, FoldersAreJoinedAsTheyStand)
{
    EXPECT_EQ(WithTrailingBackslash(L"C:\\temp"), L"C:\\temp\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\temp\\"), L"C:\\temp\\");
    // The registry's folder is not repaired: a trailing backslash gives a doubled one.
    EXPECT_EQ(ProgrammerPath(L"C:\\q"), L"C:\\q\\bin\\quartus_pgm.exe");
    EXPECT_EQ(ProgrammerPath(L"C:\\q\\"), L"C:\\q\\\\bin\\quartus_pgm.exe");
}

TEST(ChainQuoting, PlainPathsKeepTheirBytes)
{
    // Characters cmd reads as ordinary ones, and bytes of the system code page above 127.
    for (const std::string path : {"C:\\q\\bin\\quartus_pgm.exe", "C:\\Users\\O'Neil-Smith_[1]{2}+~#$@.x\\Temp\\",
                                   "C:\\Benutzer\\J\xFCrgen\\AppData\\Local\\Temp\\KV7_Batch.bat"}) {
        EXPECT_EQ(BatchFileWord(path), path);
        EXPECT_EQ(CommandLineWord(path), path);
    }
}

TEST(ChainQuoting, EveryPercentIsDoubledInTheBatchLineOnly)
{
    EXPECT_EQ(BatchLine("C:\\Q&A (v13) 100%\\bin\\quartus_pgm.exe", 0,
                        "C:\\Users\\R&D (50% of 100%) x\\AppData\\Local\\Temp\\KV7_Output.txt"),
              "\"C:\\Q&A (v13) 100%%\\bin\\quartus_pgm.exe\" -c USB-Blaster[USB-0] -a  >  "
              "\"C:\\Users\\R&D (50%% of 100%%) x\\AppData\\Local\\Temp\\KV7_Output.txt\"");
    EXPECT_EQ(CommandLineWord("C:\\Users\\50% of 100%\\Temp\\KV7_Batch.bat"),
              "\"C:\\Users\\50% of 100%\\Temp\\KV7_Batch.bat\"");
}
