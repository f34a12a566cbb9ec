// Closing the main window during a run: only after the operator's Yes, and then never under
// the run's feet: the window stays until the run's guard has gone. The run is played by a
// guard, the Busy flag and a nested wait, as the inspection run does it. An idle window's
// close is proven on the real program by the e2e closing script.
#include "app/FormMain.h"
#include "app/Layout.h"

#include "base/Pump.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

TEST(FormClose, NoDuringARunKeepsTheWindowAndTheRun)
{
    BoxRecorder boxes(BoxAnswer::No);
    boxes.PumpWhileOpen = true;
    TFormMain form;
    form.Show();
    {
        TFormMain::TRun run(form);
        ASSERT_TRUE(run);
        form.Busy = true;
        form.StartProgress();
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        // A second close asked while the question is open is the same close.
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        form.WaitMs(50);
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Kind, BoxKind::Warning);
        EXPECT_EQ(boxes.Boxes[0].Buttons, BoxButtons::YesNo);
        EXPECT_EQ(boxes.Boxes[0].Text, "Process is not terminated. Are you sure want to quit?");
        EXPECT_TRUE(form.Busy);
        EXPECT_NE(form.Handle(), nullptr);
        form.Busy = false;
    }
    form.WaitMs(20);
    EXPECT_NE(form.Handle(), nullptr);
}

TEST(FormClose, YesDuringARunEndsTheWindowOnlyAfterTheRun)
{
    BoxRecorder boxes(BoxAnswer::Yes);
    TFormMain form;
    form.Show();
    {
        TFormMain::TRun run(form);
        ASSERT_TRUE(run);
        form.Busy = true;
        form.StartProgress();
        form.ExpectedRunMs = 50000;
        form.ProgressStartTick = GetTickCount() - 10000;
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        DWORD start = GetTickCount();
        form.WaitMs(30); // the question comes in here, with its two seconds of messages
        EXPECT_GE(GetTickCount() - start, 1900u);
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_FALSE(form.Busy);

        // The run still has its window: it reports, waits and ends normally.
        ASSERT_NE(form.Handle(), nullptr);
        EXPECT_EQ(form.PanelText[1], "0"); // closing stopped the progress timer
        form.WaitMs(250);
        EXPECT_EQ(form.PanelText[1], "0");
        form.ShowStatus("ORBA-B PASS", COLOR_GREEN);
        form.SetProgress(100);
        EXPECT_EQ(form.PanelText[0], "ORBA-B PASS");
        EXPECT_NE(form.Handle(), nullptr);

        // No second run starts on a window that is going.
        TFormMain::TRun second(form);
        EXPECT_FALSE(second);
        form.StopProgress();
        form.EnableButtons(true);
    }
    PumpPendingMessages();
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(boxes.Boxes.size(), 1u);
}

TEST(FormClose, OneRunAtATime)
{
    TFormMain form;
    {
        TFormMain::TRun first(form);
        ASSERT_TRUE(first);
        TFormMain::TRun nested(form);
        EXPECT_FALSE(nested);
    }
    TFormMain::TRun next(form);
    EXPECT_TRUE(next);
}
