// Closing the main window during a run: only after the operator's Yes, and then never under the
// run's feet: the run goes on to its end and the window stays until it has ended. The run is
// played by a guard, the Busy flag and nested waits, as the inspection run does it. An idle
// window's close and a whole run finished after a Yes are proven on the real program by the
// e2e closing scripts.
#include "app/FormMain.h"

#include "base/Box.h"
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

TEST(FormClose, YesDuringARunLetsItFinishAndTheWindowGoesAfterIt)
{
    BoxRecorder boxes(BoxAnswer::Yes);
    TFormMain form;
    form.Show();
    {
        TFormMain::TRun run(form);
        ASSERT_TRUE(run);
        form.Busy = true;
        form.StartProgress();
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        DWORD start = GetTickCount();
        // The question comes in here, with its two seconds of messages; the wait then ends
        // as any wait does.
        form.WaitMs(30);
        EXPECT_GE(GetTickCount() - start, 1900u);
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_FALSE(form.Busy);
        EXPECT_EQ(form.PanelText[1], "0"); // closing stopped the progress timer

        // The run goes on: its waits, boxes and status still work on the window, which stays
        // until the run has ended, and no second run starts on it meanwhile.
        form.WaitMs(0);
        ShowBox(BoxKind::Warning, BoxButtons::Ok, "later");
        EXPECT_EQ(boxes.Boxes.size(), 2u);
        form.ShowStatus("ORBA-A PASS", COLOR_GREEN);
        EXPECT_EQ(form.PanelText[0], "ORBA-A PASS");
        TFormMain::TRun second(form);
        EXPECT_FALSE(second);
        EXPECT_NE(form.Handle(), nullptr);
    }
    PumpPendingMessages();
    EXPECT_EQ(form.Handle(), nullptr);
}
