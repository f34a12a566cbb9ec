// What the inspection's component tests share: a shown main window, and a look at what the
// window and the simulated bench ended up with.
#pragma once

#include "app/FormMain.h"
#include "tests/support/ControlText.h"

#include <string>

// The window after its first show, as the operator meets it.
struct TShownForm {
    TShownForm() { Form.Show(); }
    TFormMain Form;
};

bool ButtonsEnabled(const TFormMain& form);

// The current directory the way the simulated parts journal it (no trailing backslash).
std::string JournalFolder(std::string folder);
