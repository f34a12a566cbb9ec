// What the inspection's component tests share: a shown main window, and a look at what the
// window and the simulated bench ended up with.
#pragma once

#include "app/FormMain.h"
#include "tests/support/ControlText.h"
#include "tests/support/TestBench.h"

#include <gtest/gtest.h>

// The window after its first show, as the operator meets it.
struct TShownForm : TFormMain {
    TShownForm() { Show(); }
};

// The window idle again after a run: no progress, every button enabled, not busy.
testing::AssertionResult Idle(const TFormMain& form);

// The one port opened on the bench was closed once, through the handle it was opened with.
testing::AssertionResult PortClosedOnce(const TestBench& bench);
