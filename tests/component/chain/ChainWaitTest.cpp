/*
 * The runner's pieces on their own: reading a report file (and its one error box), waiting
 * for a file held by someone else, waiting for a process by its exit code, and the delay that
 * keeps dispatching messages.
 */
#include "ChainDesk.h"

#include "base/Handles.h"
#include "chain/Jtagbus.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

namespace {

const std::string GOOD_REPORT = "Info: banner\r\n1) USB-Blaster [USB-0]\r\n  020B40DD   EP3SL340\r\n"
                                "\r\nInfo: **********************\r\nInfo: done\r\n";

UniqueHandle HoldExclusive(const std::string& path)
{
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
}

int TimerFires = 0;
void CALLBACK CountFire(HWND, UINT, UINT_PTR, DWORD) { ++TimerFires; }

} // namespace

// A whole report is read by every detection test; an empty one is refused without a box.
TEST(ChainReportFile, RefusesAnEmptyFileSilently)
{
    TempFolder folder("kv7-report");
    const std::string path = folder / "KV7_Output.txt";
    BoxRecorder boxes;
    TJtagBus bus;

    WriteText(path, "");
    TChainList none;
    EXPECT_FALSE(bus.LoadChainReport(none, path, 0));
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST(ChainReportFile, MissingOrHeldFileShowsOneErrorBox)
{
    TempFolder folder("kv7-report");
    const std::string path = folder / "KV7_Output.txt";
    TJtagBus bus;

    for (bool held : {false, true}) {
        SCOPED_TRACE(held ? "held by another" : "missing");
        UniqueHandle holder;
        if (held) {
            WriteText(path, GOOD_REPORT);
            holder = HoldExclusive(path);
            ASSERT_TRUE(holder);
        }
        BoxRecorder boxes;
        TChainList list;
        EXPECT_FALSE(bus.LoadChainReport(list, path, 0));
        EXPECT_TRUE(list.empty());
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Kind, BoxKind::Error);
        EXPECT_EQ(boxes.Boxes[0].Buttons, BoxButtons::Ok);
        EXPECT_EQ(boxes.Boxes[0].Text, "Cannot open file " + path);
    }
}

TEST(ChainReportFile, WaitFileReadyWaitsForTheHolderWithinItsLimit)
{
    TempFolder folder("kv7-ready");
    const std::string path = folder / "KV7_Output.txt";
    TJtagBus bus;

    DWORD start = GetTickCount();
    EXPECT_FALSE(bus.WaitFileReady(path, 300));
    EXPECT_GE(MsSince(start), 300u);

    WriteText(path, GOOD_REPORT);
    EXPECT_TRUE(bus.WaitFileReady(path, 0));

    UniqueHandle holder = HoldExclusive(path);
    start = GetTickCount();
    EXPECT_FALSE(bus.WaitFileReady(path, 300));
    EXPECT_GE(MsSince(start), 300u);

    // Released by its holder partway through the wait: the wait ends after the release.
    start = GetTickCount();
    std::thread release([&holder] {
        Sleep(300);
        holder.Reset();
    });
    EXPECT_TRUE(bus.WaitFileReady(path, 30000));
    EXPECT_GE(MsSince(start), 290u);
    release.join();
}

// Codes that end the wait return long before a generous limit; the others run to a short one.
TEST(ChainRunner, ExitCodesEndTheWaitOrNot)
{
    TJtagBus bus;
    for (const char* command : {"cmd /c exit 2", "cmd /c exit 3", "cmd /c exit 4", "kv7-no-such-program.exe"}) {
        const DWORD start = GetTickCount();
        EXPECT_FALSE(bus.QuartusExecute(command, 60000)) << command;
        EXPECT_LT(MsSince(start), 60000u) << command;
    }
    EXPECT_TRUE(bus.QuartusExecute("cmd /c exit 0", 60000));
    for (const char* command : {"cmd /c exit 1", "cmd /c exit 259"}) {
        const DWORD start = GetTickCount();
        EXPECT_FALSE(bus.QuartusExecute(command, 1500)) << command;
        EXPECT_GE(MsSince(start), 1500u) << command;
    }
}

TEST(ChainRunner, WaitsKeepDispatchingMessages)
{
    TJtagBus bus;
    TimerFires = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CountFire);

    DWORD start = GetTickCount();
    bus.DelayWithMessages(300);
    EXPECT_GE(MsSince(start), 300u);
    EXPECT_GE(TimerFires, 3);

    TimerFires = 0;
    start = GetTickCount();
    EXPECT_FALSE(bus.QuartusExecute("cmd /c exit 1", 300));
    EXPECT_GE(TimerFires, 3);
    KillTimer(nullptr, timer);
}
