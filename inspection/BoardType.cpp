#include "BoardType.h"

BoardType BoardTypeOfDevice(std::string_view name)
{
    if (name == "EP3SL340" || name == "EP3SL340ES")
        return BOARD_SIII_340;
    if (name == "EP3SL110/50ES" || name == "EP3SL150ES")
        return BOARD_SIII_150ES;
    if (name == "EP3SL110/50" || name == "EP3SL150")
        return BOARD_SIII_150;
    if (name == "EP3SE260" || name == "EP3SE260ES")
        return BOARD_SIII_260;
    return name.empty() ? BOARD_NOT_FOUND : BOARD_UNKNOWN;
}

const char* BoardTypeLabel(BoardType type)
{
    switch (type) {
    case BOARD_SIII_150: return "SIII-150";
    case BOARD_SIII_340: return "SIII-340";
    case BOARD_SIII_150ES: return "SIII-150ES";
    case BOARD_SIII_260: return "SIII-260";
    default: return "Unkonw";
    }
}

const char* SofFileOf(BoardType type)
{
    switch (type) {
    case BOARD_SIII_150: return "KV7_MassProduction_150.sof";
    case BOARD_SIII_340: return "KV7_MassProduction_340.sof";
    case BOARD_SIII_150ES: return "KV7_MassProduction_150ES.sof";
    case BOARD_SIII_260: return "KV7_MassProduction_260.sof";
    default: return nullptr;
    }
}
