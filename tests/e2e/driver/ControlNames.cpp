#include "ControlNames.h"

#include "app/ControlIds.h"

#include <utility>

namespace {

const std::pair<const char*, int> NAMES[] = {
    {"ButtonExit", ID_BUTTON_EXIT},   {"ButtonOrbaA", ID_BUTTON_ORBA_A}, {"ButtonOrbaB", ID_BUTTON_ORBA_B},
    {"ButtonOrbaC", ID_BUTTON_ORBA_C}, {"ButtonOrbaD", ID_BUTTON_ORBA_D}, {"MemoError", ID_MEMO_ERROR},
    {"LabelResult", ID_LABEL_RESULT}, {"LabelError", ID_LABEL_ERROR},    {"StatusBar", ID_STATUS_BAR},
};

} // namespace

int ControlIdByName(const std::string& name)
{
    for (const auto& [known, id] : NAMES) {
        if (name == known)
            return id;
    }
    return 0;
}

std::string KnownControlNames()
{
    std::string list;
    for (const auto& [known, id] : NAMES)
        list += (list.empty() ? "" : ", ") + std::string(known);
    return list;
}
