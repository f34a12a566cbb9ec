// One press of ORBA-A by the program's own window and inspection, from whatever folder the
// probe was copied into, so that a test can give it a folder of any name. It answers every box
// (Yes to the power warning), prints each box and the final status text, one per line.
#include "app/FormMain.h"
#include "base/Box.h"

#include <cstdio>

namespace {

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int main()
{
    SetBoxHook([](const TBoxRequest& box) {
        Say("box " + box.Caption + " " + box.Text.substr(0, box.Text.find('\n')));
        return box.Buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    });
    TFormMain form;
    form.Show();
    form.ButtonOrbaClick(form.ButtonOrba[0]);
    Say("status " + form.PanelText[0]);
    return 0;
}
