// The pin-pair table, the NG fault list the operator reads, and the board-type mapping that
// picks the configuration file.
#include "inspection/BoardType.h"
#include "inspection/FaultList.h"
#include "inspection/PairTable.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(FaultList, AllPassedListsNothing)
{
    TFaultList list = BuildFaultList(Table(), Flags({}).Passed);
    EXPECT_TRUE(list.MemoLines.empty());
    EXPECT_EQ(list.Hint, "Invalid paired loopback pin:\n");
}

TEST(FaultList, NumbersFaultsInPairOrderWithZeroPaddedPins)
{
    TFaultList list = BuildFaultList(Table(), Flags({0, 17, 65}).Passed);
    ASSERT_EQ(list.MemoLines.size(), 3u);
    EXPECT_EQ(list.MemoLines[0], "[001]pin 003-004");
    EXPECT_EQ(list.MemoLines[1], "[002]pin 051-052");
    EXPECT_EQ(list.MemoLines[2], "[003]pin 179-180");
    EXPECT_EQ(list.Hint, "Invalid paired loopback pin:\n(3-4) (51-52) (179-180) ");
}

TEST(FaultList, PairsSixteenAndSeventeenNameTheSamePins)
{
    TFaultList list = BuildFaultList(Table(), Flags({16, 17}).Passed);
    ASSERT_EQ(list.MemoLines.size(), 2u);
    EXPECT_EQ(list.MemoLines[0], "[001]pin 051-052");
    EXPECT_EQ(list.MemoLines[1], "[002]pin 051-052");
}

TEST(FaultList, HintBreaksTheLineAfterEveryFifthPair)
{
    TFaultList five = BuildFaultList(Table(), Flags({0, 1, 2, 3, 4}).Passed);
    EXPECT_EQ(five.Hint, "Invalid paired loopback pin:\n(3-4) (5-6) (9-10) (11-12) (15-16) \n");
    TFaultList six = BuildFaultList(Table(), Flags({0, 1, 2, 3, 4, 5}).Passed);
    EXPECT_EQ(six.Hint, five.Hint + "(17-18) ");
}

TEST(FaultList, EveryPairFailedGivesSixtySixLines)
{
    Flags all({});
    std::memset(all.Passed, 0, sizeof all.Passed);
    TFaultList list = BuildFaultList(Table(), all.Passed);
    ASSERT_EQ(list.MemoLines.size(), 66u);
    EXPECT_EQ(list.MemoLines[65], "[066]pin 179-180");
}

TEST(BoardType, EightModelNamesMapExactly)
{
    EXPECT_EQ(BoardTypeOfDevice("EP3SL340"), BOARD_SIII_340);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL340ES"), BOARD_SIII_340);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL110/50ES"), BOARD_SIII_150ES);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL150ES"), BOARD_SIII_150ES);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL110/50"), BOARD_SIII_150);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL150"), BOARD_SIII_150);
    EXPECT_EQ(BoardTypeOfDevice("EP3SE260"), BOARD_SIII_260);
    EXPECT_EQ(BoardTypeOfDevice("EP3SE260ES"), BOARD_SIII_260);
}

TEST(BoardType, AnythingElseIsUnknownAndNothingIsNotFound)
{
    EXPECT_EQ(BoardTypeOfDevice("ep3sl340"), BOARD_UNKNOWN);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL340X"), BOARD_UNKNOWN);
    EXPECT_EQ(BoardTypeOfDevice("EP3SL340ES\r\n"), BOARD_UNKNOWN);
    EXPECT_EQ(BoardTypeOfDevice(" EP3SL340"), BOARD_UNKNOWN);
    EXPECT_EQ(BoardTypeOfDevice(""), BOARD_NOT_FOUND);
}

TEST(BoardType, LabelsAndConfigurationFiles)
{
    EXPECT_STREQ(BoardTypeLabel(BOARD_SIII_340), "SIII-340");
    EXPECT_STREQ(BoardTypeLabel(BOARD_SIII_150ES), "SIII-150ES");
    EXPECT_STREQ(BoardTypeLabel(BOARD_UNKNOWN), "Unkonw");
    EXPECT_STREQ(BoardTypeLabel(BOARD_NOT_FOUND), "Unkonw");
    EXPECT_STREQ(BoardTypeLabel(static_cast<BoardType>(17)), "Unkonw");
    EXPECT_STREQ(SofFileOf(BOARD_SIII_340), "KV7_MassProduction_340.sof");
    EXPECT_STREQ(SofFileOf(BOARD_SIII_260), "KV7_MassProduction_260.sof");
    EXPECT_STREQ(SofFileOf(BOARD_SIII_150ES), "KV7_MassProduction_150ES.sof");
    EXPECT_STREQ(SofFileOf(BOARD_SIII_150), "KV7_MassProduction_150.sof");
    EXPECT_EQ(SofFileOf(BOARD_UNKNOWN), nullptr);
}
