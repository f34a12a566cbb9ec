/*
 * The bytes chain detection writes into its batch file, and the folders it builds them from.
 */
#include "chain/ChainCommand.h"

#include <gtest/gtest.h>

TEST(ChainCommand, BlankFreePathsKeepTheExactFormat)
{
    EXPECT_EQ(BatchLine("C:\\q\\bin\\quartus_pgm.exe", 0, "C:\\temp\\KV7_Output.txt"),
              "C:\\q\\bin\\quartus_pgm.exe -c USB-Blaster[USB-0] -a  >  C:\\temp\\KV7_Output.txt");
    EXPECT_EQ(BatchLine("p", 12, "r"), "p -c USB-Blaster[USB-12] -a  >  r");
}

TEST(ChainCommand, PathsWithBlanksAreQuoted)
{
    EXPECT_EQ(BatchLine("C:\\Program Files\\q\\bin\\quartus_pgm.exe", 0, "C:\\users\\Jo Ann\\Temp\\KV7_Output.txt"),
              "\"C:\\Program Files\\q\\bin\\quartus_pgm.exe\" -c USB-Blaster[USB-0] -a  >  "
              "\"C:\\users\\Jo Ann\\Temp\\KV7_Output.txt\"");
}

TEST(ChainCommand, FoldersAreJoinedAsTheyStand)
{
    EXPECT_EQ(WithTrailingBackslash("C:\\temp"), "C:\\temp\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\temp\\"), "C:\\temp\\");
    // The registry's folder is not repaired: a trailing backslash gives a doubled one.
    EXPECT_EQ(ProgrammerPath("C:\\q"), "C:\\q\\bin\\quartus_pgm.exe");
    EXPECT_EQ(ProgrammerPath("C:\\q\\"), "C:\\q\\\\bin\\quartus_pgm.exe");
}
