// The inspection desk's pieces, and the two warnings as the operator reads them.
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

const char POWER_WARNING[] =
    "Warning:\nORBA loopback testing will enable connector power that could damage KV7 or your daugher "
    "boards.\nPlease make sure:\n1. All daughter boards, including DDR2, are removed from KV7.\n2. The ORBA "
    "loopback module is mounted on KV7.\n\nDo you want to continue now?\n";
const char NOT_FOUND_WARNING[] =
    "Failed to find KV7.\nPlease make sure:\n1. KV7 and PC are connected by an USB cable.\n2. KV7 is power on.";
