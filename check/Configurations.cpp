/*
 * The four test configurations beside the tool, one line each: bring-up downloads the one
 * the detected model needs, and which that is only a board can tell.
 */
#include "check/Checks.h"

#include "base/PathSpelling.h"
#include "inspection/BoardType.h"

#include <windows.h>

void CheckConfigurations(TReport& report, const TCheckContext& context)
{
    for (BoardType type : {BOARD_SIII_150, BOARD_SIII_340, BOARD_SIII_150ES, BOARD_SIII_260}) {
        const char* file = SofFileOf(type);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const std::wstring path = context.ExeFolder + AsciiWide(file);
        const bool found = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        const std::string model = std::string("for ") + BoardTypeLabel(type);
        if (!found)
            report.Fail(file, "missing " + model, "copy the board maker's " + std::string(file) + " beside the tool");
        else if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)
            report.Fail(file, "empty " + model, "copy the board maker's " + std::string(file) + " again");
        else
            report.Ok(file, std::to_string((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) + " bytes " + model);
    }
}
