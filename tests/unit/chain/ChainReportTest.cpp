/*
 * The programmer's report as the program reads it: which block is taken for the cable, how it
 * splits into code and name pairs, and every report the program must refuse.
 */
#include "chain/ChainReport.h"
#include "chain/Jtagbus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string BANNER_TOP = "Info: *******************************************************************\r\n"
                               "Info: Running the programmer\r\n"
                               "Info: *******************************************************************\r\n";
const std::string BANNER_END = "\r\n\r\nInfo: *******************************************************************\r\n"
                               "Info: Programmer was successful. 0 errors, 0 warnings\r\n";

// A report shaped like the programmer's: banner, cable line, device lines, empty line, banner.
std::string Report(const std::string& deviceLines, int cable = 0)
{
    return BANNER_TOP + "1) USB-Blaster [USB-" + std::to_string(cable) + "]\r\n  " + deviceLines + BANNER_END;
}

struct Read {
    bool Ok;
    TChainList List;
};

Read ReadReport(const std::string& text, int cable = 0)
{
    Read result;
    result.Ok = ReadChainReport(result.List, text, cable);
    return result;
}

Read Parse(const std::string& block)
{
    Read result;
    result.Ok = ParseDeviceBlock(result.List, block);
    return result;
}

} // namespace

TEST(ChainReport, OneDeviceWithOrWithoutTrailingBlanks)
{
    struct Case {
        const char* Line;
        const char* Name;
    };
    for (const Case& c : {Case{"020B40DD   EP3SL340", "EP3SL340"}, Case{"020B40DD   EP3SL340   ", "EP3SL340"},
                          Case{"020B40DD EP3SL110/50ES ", "EP3SL110/50ES"}}) {
        SCOPED_TRACE(c.Line);
        Read read = ReadReport(Report(c.Line));
        ASSERT_TRUE(read.Ok);
        ASSERT_EQ(read.List.size(), 1u);
        EXPECT_STREQ(read.List[0]->Code, "020B40DD");
        EXPECT_STREQ(read.List[0]->DeviceName, c.Name);
    }
}

TEST(ChainReport, SeveralDevicesInReportOrderKeepTheLineEndInTheFirstName)
{
    Read read = ReadReport(Report("020B40DD   EP3SL340\r\n  020A10DD   EPM570"));
    ASSERT_TRUE(read.Ok);
    ASSERT_EQ(read.List.size(), 2u);
    EXPECT_STREQ(read.List[0]->Code, "020B40DD");
    EXPECT_STREQ(read.List[0]->DeviceName, "EP3SL340\r\n");
    EXPECT_STREQ(read.List[1]->Code, "020A10DD");
    EXPECT_STREQ(read.List[1]->DeviceName, "EPM570");
}

TEST(ChainReport, FieldsOfThirtyOneCharactersFitAndThirtyTwoDoNot)
{
    const std::string fit(31, 'C');
    const std::string over(32, 'N');

    Read both = ReadReport(Report(fit + " " + std::string(31, 'N')));
    ASSERT_TRUE(both.Ok);
    EXPECT_EQ(std::string(both.List[0]->Code), fit);
    EXPECT_EQ(std::string(both.List[0]->DeviceName), std::string(31, 'N'));

    EXPECT_FALSE(ReadReport(Report(over + " EP3SL340")).Ok);
    EXPECT_FALSE(ReadReport(Report("020B40DD " + over)).Ok);

    // A refused field stops the reading; the pairs before it stay with the caller.
    Read partial = Parse("020B40DD EP3SL340 020A10DD " + over + " 1 2");
    EXPECT_FALSE(partial.Ok);
    ASSERT_EQ(partial.List.size(), 1u);
    EXPECT_STREQ(partial.List[0]->DeviceName, "EP3SL340");
}

TEST(ChainReport, CodeWithoutNameEmptiesTheList)
{
    for (const char* block : {"020B40DD EP3SL340 020A10DD", "020B40DD EP3SL340 020A10DD   ", "020B40DD"}) {
        SCOPED_TRACE(block);
        Read read = Parse(block);
        EXPECT_FALSE(read.Ok);
        EXPECT_TRUE(read.List.empty());
    }
    EXPECT_FALSE(ReadReport(Report("020B40DD EP3SL340 020A10DD")).Ok);
}

TEST(ChainReport, BlanksOnlyOrNoPairsIsRefused)
{
    Read parsed = Parse("    ");
    EXPECT_TRUE(parsed.Ok);
    EXPECT_TRUE(parsed.List.empty());
    Read read = ReadReport(Report("    "));
    EXPECT_FALSE(read.Ok);
    EXPECT_TRUE(read.List.empty());
}

TEST(ChainReport, OneCharacterNameAtTheEndCompletesThePair)
{
    Read read = Parse("020B40DD X");
    EXPECT_TRUE(read.Ok);
    ASSERT_EQ(read.List.size(), 1u);
    EXPECT_STREQ(read.List[0]->DeviceName, "X");
}

TEST(ChainReport, TabsAndLineEndsBelongToFields)
{
    Read read = Parse("A\tB C\r\nD");
    ASSERT_TRUE(read.Ok);
    ASSERT_EQ(read.List.size(), 1u);
    EXPECT_STREQ(read.List[0]->Code, "A\tB");
    EXPECT_STREQ(read.List[0]->DeviceName, "C\r\nD");
}

TEST(ChainReport, RefusedReports)
{
    const std::string good = Report("020B40DD   EP3SL340");
    ASSERT_TRUE(ReadReport(good).Ok);

    // The failure line anywhere wins over a good block.
    EXPECT_FALSE(ReadReport(good + "Error: Unable to read device chain - JTAG chain broken\r\n").Ok);
    EXPECT_FALSE(ReadReport("Unable to read device chain\r\n" + good).Ok);

    // Only the asked cable counts.
    EXPECT_FALSE(ReadReport(Report("020B40DD   EP3SL340", 1), 0).Ok);
    EXPECT_TRUE(ReadReport(Report("020B40DD   EP3SL340", 1), 1).Ok);

    // The first end marker of the whole report must follow the header.
    EXPECT_FALSE(ReadReport(BANNER_END + good).Ok);

    // A header at the very first character is refused; one character before it is enough.
    const std::string bare = "USB-Blaster [USB-0]\r\n  020B40DD   EP3SL340" + BANNER_END;
    EXPECT_FALSE(ReadReport(bare).Ok);
    EXPECT_TRUE(ReadReport("\n" + bare).Ok);

    // No end marker, a marker right after the header, and an empty report.
    EXPECT_FALSE(ReadReport(BANNER_TOP + "1) USB-Blaster [USB-0]\r\n  020B40DD   EP3SL340\r\n").Ok);
    EXPECT_FALSE(ReadReport(BANNER_TOP + "1) USB-Blaster [USB-0]\r\n  " + BANNER_END).Ok);
    EXPECT_FALSE(ReadReport("").Ok);
}

TEST(ChainReport, SearchesAreCaseSensitive)
{
    std::string header = Report("020B40DD   EP3SL340");
    header.replace(header.find("USB-Blaster"), 11, "usb-blaster");
    EXPECT_FALSE(ReadReport(header).Ok);

    std::string marker = Report("020B40DD   EP3SL340");
    marker.replace(marker.rfind("\r\n\r\nInfo: "), 10, "\r\n\r\nINFO: ");
    EXPECT_FALSE(ReadReport(marker).Ok);

    // A failure line in other letters is not the failure line.
    EXPECT_TRUE(ReadReport(Report("020B40DD   EP3SL340") + "unable to read device chain\r\n").Ok);
}

TEST(ChainReport, CableIndexInDecimal)
{
    EXPECT_EQ(ReportCableHeader(12), "USB-Blaster [USB-12]\r\n  ");
    Read read = ReadReport(Report("020B40DD   EP3SL340", 12), 12);
    EXPECT_TRUE(read.Ok);
    EXPECT_FALSE(ReadReport(Report("020B40DD   EP3SL340", 12), 1).Ok);
}
