// The inspection desk's pieces.
#include "InspectionDesk.h"

bool ButtonsEnabled(const TFormMain& form)
{
    for (HWND button : {form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2], form.ButtonOrba[3],
                        form.ButtonExit})
        if (!IsWindowEnabled(button))
            return false;
    return true;
}

std::string JournalFolder(std::string folder)
{
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}
