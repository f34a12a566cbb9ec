// What the inspection's component tests share: a shown main window, answers for its boxes,
// and a look at what the window and the simulated bench ended up with.
#pragma once

#include "app/FormMain.h"
#include "base/Box.h"

#include <functional>
#include <string>
#include <vector>

// Answers every box (Yes to a question) and keeps what each one said, in order. The optional
// action runs inside the box, while it is open, as the operator's clicks would.
class TBoxAnswers {
public:
    TBoxAnswers();
    ~TBoxAnswers();
    TBoxAnswers(const TBoxAnswers&) = delete;
    TBoxAnswers& operator=(const TBoxAnswers&) = delete;

    BoxAnswer Question = BoxAnswer::Yes;
    std::function<void()> WhileOpen;
    std::vector<BoxRequest> Boxes;
};

// The window after its first show, as the operator meets it.
struct TShownForm {
    TShownForm() { Form.Show(); }
    TFormMain Form;
};

std::string TextOf(HWND window);
bool ButtonsEnabled(const TFormMain& form);

// The journal's JTAG lines as the requests the program wrote: "AA 00 00 00 00 55", ...
std::vector<std::string> RequestsWritten(const std::vector<std::string>& journal);

// The current directory the way the simulated parts journal it (no trailing backslash).
std::string JournalFolder(std::string folder);

extern const char POWER_WARNING[];
extern const char NOT_FOUND_WARNING[];
