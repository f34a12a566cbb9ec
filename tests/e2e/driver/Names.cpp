#include "Names.h"

#include "app/Layout.h"

namespace {

std::string RegionText(int left, int top, int width, int height)
{
    return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) + " " +
           std::to_string(height);
}

std::string RegionText(const TBounds& b) { return RegionText(b.Left, b.Top, b.Width, b.Height); }

} // namespace

const std::map<std::string, std::string>& BuiltInNames()
{
    static const std::map<std::string, std::string> names = [] {
        // Regions of the client area: left top width height, as the picture commands take them.
        std::map<std::string, std::string> n = {
            {"Picture", RegionText(IMAGE_KV7)},
            {"StatusPanel", RegionText(STATUS_BAR.Left, STATUS_BAR.Top, STATUS_PANEL0_WIDTH, STATUS_BAR.Height)},
            {"ProgressPanel", RegionText(STATUS_BAR.Left + STATUS_PANEL0_WIDTH, STATUS_BAR.Top,
                                         STATUS_BAR.Width - STATUS_PANEL0_WIDTH, STATUS_BAR.Height)},
        };
        for (int i = 0; i < 4; ++i) {
            n[SHAPE_HOVER_NAME[i]] = RegionText(SHAPE_HOVER[i]);
            n[SHAPE_RESULT_NAME[i]] = RegionText(SHAPE_RESULT[i]);
        }
        // What the operator reads, written as a script writes it (with escapes), so that one
        // name serves a box's text in double quotes and its trace line in single quotes. The
        // tests state these themselves rather than take them from the program.
        n["Caption"] = "Paldrix KV7 ORBA Inspection Tool V1.0.8";
        n["CloseQuestion"] = "Process is not terminated. Are you sure want to quit?";
        n["NotFound"] = "Failed to find KV7.\\nPlease make sure:\\n1. KV7 and PC are connected by an USB cable.\\n"
                        "2. KV7 is power on.";
        return n;
    }();
    return names;
}
