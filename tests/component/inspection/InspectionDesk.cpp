// The inspection desk's pieces.
#include "InspectionDesk.h"

testing::AssertionResult Idle(const TFormMain& form)
{
    if (form.PanelText[1] != "0")
        return testing::AssertionFailure() << "the progress panel shows " << form.PanelText[1];
    for (HWND button : {form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2], form.ButtonOrba[3],
                        form.ButtonExit})
        if (!IsWindowEnabled(button))
            return testing::AssertionFailure() << "a button is still disabled";
    if (form.Busy)
        return testing::AssertionFailure() << "the window is still busy";
    return testing::AssertionSuccess();
}

testing::AssertionResult PortClosedOnce(const TestBench& bench)
{
    const std::vector<std::string> opens = bench.JournalLines("jtag open ");
    const std::vector<std::string> closes = bench.JournalLines("jtag close ");
    if (opens.size() != 1 || closes.size() != 1)
        return testing::AssertionFailure() << opens.size() << " opens and " << closes.size() << " closes";
    const std::string handle = opens[0].substr(opens[0].find("handle=") + 7);
    if (closes[0] != "jtag close handle=" + handle + " result=1")
        return testing::AssertionFailure() << closes[0] << " after " << opens[0];
    return testing::AssertionSuccess();
}
