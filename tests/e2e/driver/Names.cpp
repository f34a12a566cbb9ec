#include "Names.h"

#include "app/Layout.h"

#include <cctype>
#include <sstream>

namespace {

std::string RegionText(int left, int top, int width, int height)
{
    return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) + " " +
           std::to_string(height);
}

std::string RegionText(const TBounds& b) { return RegionText(b.Left, b.Top, b.Width, b.Height); }

bool IsName(const std::string& name)
{
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    }
    return true;
}

// The line with its ${Name}s filled; "" into `error` for the first name it does not know.
std::string Fill(const std::string& line, const std::map<std::string, std::string>& names, std::string& error)
{
    std::string out;
    size_t at = 0;
    for (size_t open; (open = line.find("${", at)) != std::string::npos;) {
        const size_t close = line.find('}', open);
        const std::string name = close == std::string::npos ? "" : line.substr(open + 2, close - open - 2);
        auto found = names.find(name);
        if (found == names.end()) {
            error = "unknown name ${" + name + "}";
            return line;
        }
        out += line.substr(at, open - at) + found->second;
        at = close + 1;
    }
    return out + line.substr(at);
}

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

std::string FillNames(std::string_view text, std::map<std::string, std::string> names,
                      std::vector<ScriptError>& errors)
{
    names.insert(BuiltInNames().begin(), BuiltInNames().end());
    std::string out;
    int number = 0;
    for (size_t start = 0; start <= text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string error;
        std::string line = Fill(std::string(text.substr(start, end - start)), names, error);
        std::istringstream words(line);
        std::string keyword, name, value;
        words >> keyword;
        if (error.empty() && keyword == "define") {
            words >> name >> std::ws;
            std::getline(words, value);
            value.erase(value.find_last_not_of(" \t\r") + 1);
            if (!IsName(name) || value.empty())
                error = "usage: define <Name> <text>";
            else if (!names.emplace(name, value).second)
                error = "the name " + name + " is taken";
            line.clear();
        }
        if (!error.empty())
            errors.push_back({number + 1, error});
        out += line;
        if (end < text.size())
            out += '\n';
        start = end + 1;
    }
    return out;
}
