// The pin-pair table, the NG fault list the operator reads, the board-type mapping that picks
// the configuration file, and the press's record line.
#include "inspection/BoardType.h"
#include "inspection/FaultList.h"
#include "inspection/PairTable.h"
#include "inspection/PressRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

PairTable Table()
{
    PairTable table{};
    EXPECT_EQ(FillPairTable(table), 66);
    return table;
}

struct Flags {
    uint8_t Passed[PAIR_COUNT];
    explicit Flags(std::initializer_list<int> failed)
    {
        std::memset(Passed, 1, sizeof Passed);
        for (int i : failed)
            Passed[i] = 0;
    }
};

} // namespace

TEST(PairTable, HoldsTheLowerPinOfEveryLoopedPair)
{
    PairTable t = Table();
    const int32_t head[] = {3, 5, 9, 11, 15, 17, 21, 23, 27, 29, 33, 35, 39, 41, 45, 47, 51, 51, 53, 59, 63, 65};
    for (size_t i = 0; i < std::size(head); ++i)
        EXPECT_EQ(t[i], head[i]) << "entry " << i;
    EXPECT_EQ(t[40], 123);
    EXPECT_EQ(t[41], 131);
    EXPECT_EQ(t[65], 179);
    for (int i = 42; i < 66; ++i)
        EXPECT_EQ(t[i], t[i - 1] + 2);
}

TEST(TFaultList, NumbersFaultsInPairOrderWithZeroPaddedPins)
{
    TFaultList list = BuildFaultList(Table(), Flags({0, 17, 65}).Passed);
    ASSERT_EQ(list.MemoLines.size(), 3u);
    EXPECT_EQ(list.MemoLines, (std::vector<std::string>{"[001]pin 003-004", "[002]pin 051-052", "[003]pin 179-180"}));
    EXPECT_EQ(list.Hint, "Invalid paired loopback pin:\n(3-4) (51-52) (179-180) ");
    EXPECT_EQ(list.Pairs, "003-004 051-052 179-180");
}

TEST(TFaultList, HintBreaksTheLineAfterEveryFifthPair)
{
    TFaultList five = BuildFaultList(Table(), Flags({0, 1, 2, 3, 4}).Passed);
    EXPECT_EQ(five.Hint, "Invalid paired loopback pin:\n(3-4) (5-6) (9-10) (11-12) (15-16) \n");
    TFaultList six = BuildFaultList(Table(), Flags({0, 1, 2, 3, 4, 5}).Passed);
    EXPECT_EQ(six.Hint, five.Hint + "(17-18) ");
}

TEST(TFaultList, AllPassedListsNothingAndAllFailedListsEveryPair)
{
    TFaultList none = BuildFaultList(Table(), Flags({}).Passed);
    EXPECT_TRUE(none.MemoLines.empty());
    EXPECT_EQ(none.Hint, "Invalid paired loopback pin:\n");
    Flags all({});
    std::memset(all.Passed, 0, sizeof all.Passed);
    TFaultList list = BuildFaultList(Table(), all.Passed);
    ASSERT_EQ(list.MemoLines.size(), 66u);
    EXPECT_EQ(list.MemoLines[16] + list.MemoLines[17], "[017]pin 051-052[018]pin 051-052"); // the same pins
    EXPECT_EQ(list.MemoLines[65], "[066]pin 179-180");
}

// The device name as the report gives it picks the configuration file; anything not exactly one
// of the eight names is unknown, and no name at all is not found. Neither has a file.
TEST(BoardType, EightModelNamesPickTheirConfigurationFile)
{
    const std::pair<const char*, const char*> models[] = {
        {"EP3SL340", "KV7_MassProduction_340.sof"},        {"EP3SL340ES", "KV7_MassProduction_340.sof"},
        {"EP3SL110/50ES", "KV7_MassProduction_150ES.sof"}, {"EP3SL150ES", "KV7_MassProduction_150ES.sof"},
        {"EP3SL110/50", "KV7_MassProduction_150.sof"},     {"EP3SL150", "KV7_MassProduction_150.sof"},
        {"EP3SE260", "KV7_MassProduction_260.sof"},        {"EP3SE260ES", "KV7_MassProduction_260.sof"},
    };
    for (const auto& [device, sof] : models)
        EXPECT_STREQ(SofFileOf(BoardTypeOfDevice(device)), sof) << device;
    for (const char* other : {"ep3sl340", "EP3SL340X", "EP3SL340ES\r\n", " EP3SL340"}) {
        EXPECT_EQ(BoardTypeOfDevice(other), BOARD_UNKNOWN) << other;
        EXPECT_STREQ(BoardTypeLabel(BoardTypeOfDevice(other)), "Unkonw");
    }
    EXPECT_EQ(BoardTypeOfDevice(""), BOARD_NOT_FOUND);
    EXPECT_EQ(SofFileOf(BOARD_UNKNOWN), nullptr);
    EXPECT_EQ(SofFileOf(BOARD_NOT_FOUND), nullptr);
    EXPECT_STREQ(BoardTypeLabel(BOARD_SIII_150ES), "SIII-150ES");
}

// A record a spreadsheet reads back field for field: the time with its offset either side of
// UTC, and every text that holds a comma, a quote or a line break quoted, its quotes doubled.
TEST(TPressRecord, LineQuotesWhatASpreadsheetWouldSplit)
{
    TPressRecord r;
    r.Start = {2026, 3, 7, 9, 5, 1, -210};
    r.Ms = 12873;
    r.Computer = "STATION4";
    r.Account = "Jos\xC3\xA9";
    r.Version = "1.0.8";
    r.Connector = 'C';
    r.Outcome = "NG";
    r.FaultyPairs = "017-018 051-052";
    r.IdCode = "020B40DD";
    r.Device = "EP3SL340\r\n";
    r.Model = "SIII-340";
    r.Board = "brought up";
    r.Status = "ORBA-C NG";
    r.Failure = "board command 10: reply \"AA,0B\"";
    EXPECT_EQ(RecordLine(r), "2026-03-07T09:05:01-03:30,12873,STATION4,Jos\xC3\xA9,1.0.8,C,NG,017-018 051-052,020B40DD,"
                             "\"EP3SL340\r\n\",SIII-340,brought up,ORBA-C NG,\"board command 10: reply \"\"AA,0B\"\"\"");
    r.Start.UtcOffsetMinutes = 330;
    EXPECT_EQ(RecordLine(r).substr(0, 26), "2026-03-07T09:05:01+05:30,");
    EXPECT_EQ(std::count(std::begin(RECORD_HEADER), std::end(RECORD_HEADER), ','), 13);
}

TEST(TPressRecord, FileNameHoldsNoLetterAFileNameCannot)
{
    EXPECT_EQ(RecordFileName({2026, 12, 9}, "STATION4", "op"), "2026-12-09 STATION4 op.csv");
    EXPECT_EQ(RecordFileName({2026, 1, 2}, "PC", "a\\b:c*\x01"), "2026-01-02 PC a_b_c__.csv");
}
