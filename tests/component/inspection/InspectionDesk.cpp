#include "InspectionDesk.h"

#include <utility>

TBoxAnswers::TBoxAnswers()
{
    SetBoxHook([this](const BoxRequest& request) {
        Boxes.push_back(request);
        if (WhileOpen)
            std::exchange(WhileOpen, nullptr)();
        return request.Buttons == BoxButtons::YesNo ? Question : BoxAnswer::Ok;
    });
}

TBoxAnswers::~TBoxAnswers() { SetBoxHook(nullptr); }

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool ButtonsEnabled(const TFormMain& form)
{
    for (HWND button : {form.ButtonOrba[0], form.ButtonOrba[1], form.ButtonOrba[2], form.ButtonOrba[3],
                        form.ButtonExit})
        if (!IsWindowEnabled(button))
            return false;
    return true;
}

std::vector<std::string> RequestsWritten(const std::vector<std::string>& journal)
{
    std::vector<std::string> requests;
    for (const std::string& line : journal) {
        if (line.rfind("jtag write ", 0) != 0)
            continue;
        size_t from = line.find("bytes=") + 6;
        requests.push_back(line.substr(from, line.find(" result=") - from));
    }
    return requests;
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
