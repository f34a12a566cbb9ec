// TDownload against the simulated download library beside the test: the version it reads and
// the seven download arguments, in their order and as the library receives them.
#include "base/Paths.h"
#include "board/Download.h"
#include "tests/support/TestBench.h"

#include <gtest/gtest.h>

TEST(Download, QuartusVersionIsPassedThroughAsItIs)
{
    for (const char* version : {"9.1", "0", "-2.5"}) {
        TestBench bench(std::string("quartus_version = ") + version + "\n");
        TDownload download;
        ASSERT_TRUE(download.IsLoaded());
        EXPECT_EQ(download.QuartusVersion(), std::stod(version));
    }
}

TEST(Download, ArgumentsArriveInOrderAndAnEmptyPathIsNoNullAddress)
{
    TestBench bench("");
    TDownload download;
    std::string sof = ExeFolder() + "KV7_MassProduction_340.sof";
    EXPECT_TRUE(download.JtagDownload(sof, 80000, false, 0, 0, false, true));
    download.JtagDownload(sof, -7, true, 11, 22, true, false);
    EXPECT_FALSE(download.JtagDownload("", 80000, false, 0, 0, false, true));
    auto journal = bench.JournalLines("download jtag ");
    ASSERT_EQ(journal.size(), 3u);
    std::string quoted = "path=\"" + sof + "\"";
    EXPECT_NE(journal[0].find(quoted + " arg2=80000 arg3=0 arg4=0 arg5=0 arg6=0 arg7=1 "), std::string::npos)
        << journal[0];
    EXPECT_NE(journal[1].find(quoted + " arg2=-7 arg3=1 arg4=11 arg5=22 arg6=1 arg7=0 "), std::string::npos)
        << journal[1];
    EXPECT_NE(journal[2].find("path=\"\" "), std::string::npos) << journal[2];
}

// The library answers with a bool of its own compiler: only the low byte of EAX counts,
// whatever the upper bytes hold.
TEST(Download, OnlyTheLowByteOfTheAnswerCounts)
{
    const std::string sof = ExeFolder() + "KV7_MassProduction_340.sof";
    for (auto [raw, succeeded] : {std::pair{"0x7F02", true}, std::pair{"0x100", false}}) {
        SCOPED_TRACE(raw);
        TestBench bench(std::string("download_result = ") + raw + "\n");
        TDownload download;
        EXPECT_EQ(download.JtagDownload(sof, 80000, false, 0, 0, false, true), succeeded);
    }
}
