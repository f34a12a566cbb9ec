/*
 * The programmer's report as the program reads it: which block is taken for the cable, how it
 * splits into code and name pairs, and every report the program must refuse.
 */
#include "chain/ChainReport.h"
#include "chain/Jtagbus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

bool Reads(const std::string& text, int cable = 0)
{
    TChainList list;
    return ReadChainReport(list, text, cable);
}

// The verdict and the fields, code and name in turn, that a device block yields.
std::pair<bool, std::vector<std::string>> Parse(const std::string& block)
{
    TChainList list;
    const bool ok = ParseDeviceBlock(list, block);
    std::vector<std::string> fields;
    for (const auto& device : list) {
        fields.push_back(device->Code);
        fields.push_back(device->DeviceName);
    }
    return {ok, fields};
}

using Fields = std::vector<std::string>;

} // namespace

TEST(ChainReport, ReadsTheDevicesOfTheCablesBlock)
{
    TChainList list;
    ASSERT_TRUE(ReadChainReport(list, Report("020B40DD   EP3SL340\r\n  020A10DD   EPM570   "), 0));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0]->Code, "020B40DD");
    // Only blanks separate fields: the line end stays in the first name, and bring-up refuses it.
    EXPECT_STREQ(list[0]->DeviceName, "EP3SL340\r\n");
    EXPECT_STREQ(list[1]->DeviceName, "EPM570");
    EXPECT_TRUE(Reads(Report("020B40DD   EP3SL340", 12), 12));
}

TEST(ChainReport, BlockSplitsIntoWholePairs)
{
    const std::string fit(31, 'C');
    const std::string over(32, 'N');
    EXPECT_EQ(Parse("020B40DD EP3SL110/50ES "), std::make_pair(true, Fields{"020B40DD", "EP3SL110/50ES"}));
    EXPECT_EQ(Parse("A\tB C\r\nD"), std::make_pair(true, Fields{"A\tB", "C\r\nD"}));
    EXPECT_EQ(Parse("020B40DD X"), std::make_pair(true, Fields{"020B40DD", "X"}));
    EXPECT_EQ(Parse("    "), std::make_pair(true, Fields{}));
    EXPECT_EQ(Parse(fit + " " + fit), std::make_pair(true, Fields{fit, fit}));
    // A code without its name: nothing read can be trusted.
    EXPECT_EQ(Parse("020B40DD EP3SL340 020A10DD   "), std::make_pair(false, Fields{}));
    EXPECT_EQ(Parse("020B40DD"), std::make_pair(false, Fields{}));
    // A field too long for its record stops the reading; the pairs before it stay.
    EXPECT_EQ(Parse("020B40DD EP3SL340 020A10DD " + over + " 1 2"),
              std::make_pair(false, Fields{"020B40DD", "EP3SL340"}));
    EXPECT_FALSE(Parse(over + " EP3SL340").first);
}

TEST(ChainReport, RefusedReports)
{
    const std::string good = Report("020B40DD   EP3SL340");
    ASSERT_TRUE(Reads(good));
    EXPECT_FALSE(Reads(Report("    ")));
    EXPECT_FALSE(Reads(Report("020B40DD EP3SL340 020A10DD")));
    EXPECT_FALSE(Reads(Report(std::string(32, 'C') + " EP3SL340")));

    // The failure line anywhere wins over a good block; in other letters it is not the line.
    EXPECT_FALSE(Reads(good + "Error: Unable to read device chain - JTAG chain broken\r\n"));
    EXPECT_FALSE(Reads("Unable to read device chain\r\n" + good));
    EXPECT_TRUE(Reads(good + "unable to read device chain\r\n"));

    // Only the asked cable counts.
    EXPECT_FALSE(Reads(Report("020B40DD   EP3SL340", 1), 0));
    EXPECT_FALSE(Reads(Report("020B40DD   EP3SL340", 12), 1));

    // The first end marker of the whole report must follow the header.
    EXPECT_FALSE(Reads(BANNER_END + good));

    // A header at the very first character is refused; one character before it is enough.
    const std::string bare = "USB-Blaster [USB-0]\r\n  020B40DD   EP3SL340" + BANNER_END;
    EXPECT_FALSE(Reads(bare));
    EXPECT_TRUE(Reads("\n" + bare));

    // No end marker, a marker right after the header, and an empty report.
    EXPECT_FALSE(Reads(BANNER_TOP + "1) USB-Blaster [USB-0]\r\n  020B40DD   EP3SL340\r\n"));
    EXPECT_FALSE(Reads(BANNER_TOP + "1) USB-Blaster [USB-0]\r\n  " + BANNER_END));
    EXPECT_FALSE(Reads(""));

    // Header and marker are matched case by case.
    std::string header = good;
    header.replace(header.find("USB-Blaster"), 11, "usb-blaster");
    EXPECT_FALSE(Reads(header));
    std::string marker = good;
    marker.replace(marker.rfind("\r\n\r\nInfo: "), 10, "\r\n\r\nINFO: ");
    EXPECT_FALSE(Reads(marker));
}
