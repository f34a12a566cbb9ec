#include "Commands.h"

#include "Picture.h"
#include "Session.h"

#include <algorithm>
#include <cstdlib>

namespace {

const Token& Word(const Command& command, size_t index)
{
    if (index >= command.Args.size())
        throw Failure(Format("word %zu is missing", index + 1));
    return command.Args[index];
}

} // namespace

bool HasArg(const Command& command, size_t index) { return index < command.Args.size(); }

const std::string& TextArg(const Command& command, size_t index) { return Word(command, index).Text; }

double NumberArg(const Command& command, size_t index)
{
    const std::string& text = Word(command, index).Text;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        throw Failure(Format("word %zu (%s) is not a number", index + 1, text.c_str()));
    return value;
}

int IntegerArg(const Command& command, size_t index)
{
    const double value = NumberArg(command, index);
    if (value != static_cast<int>(value))
        throw Failure(Format("word %zu (%s) is not a whole number", index + 1, TextArg(command, index).c_str()));
    return static_cast<int>(value);
}

bool YesNoArg(const Command& command, size_t index)
{
    const std::string& text = Word(command, index).Text;
    if (text == "yes")
        return true;
    if (text == "no")
        return false;
    throw Failure(Format("word %zu (%s) must be yes or no", index + 1, text.c_str()));
}

uint32_t ColorArg(const Command& command, size_t index)
{
    uint32_t colour = 0;
    if (!ParseColor(Word(command, index).Text, colour))
        throw Failure(Format("word %zu (%s) is not a colour RRGGBB", index + 1, Word(command, index).Text.c_str()));
    return colour;
}

ControlRef ControlArg(const Command& command, size_t index)
{
    const Token& token = Word(command, index);
    if (token.Quoted)
        return {0, token.Text, "the control captioned \"" + token.Text + "\""};
    if (token.Text[0] != '#') {
        if (const int id = ControlId(token.Text))
            return {id, "", token.Text};
        throw Failure("unknown control name " + token.Text);
    }
    char* end = nullptr;
    const long id = std::strtol(token.Text.c_str() + 1, &end, 0);
    if (token.Text.size() < 2 || *end != '\0')
        throw Failure("a control number looks like #1001");
    return {static_cast<int>(id), "", token.Text};
}

bool IsWildcard(const Command& command, size_t index)
{
    return HasArg(command, index) && !command.Args[index].Quoted && command.Args[index].Text == "*";
}

std::string OptionArg(const Command& command, size_t first, const std::string& key, const std::string& fallback,
                      const std::vector<std::string>& keys)
{
    std::string result = fallback;
    for (size_t i = first; i < command.Args.size(); ++i) {
        std::string name, value;
        if (!SplitOption(command.Args[i], name, value) || std::find(keys.begin(), keys.end(), name) == keys.end())
            throw Failure(Format("word %zu (%s) is not one of the options of %s", i + 1, command.Args[i].Text.c_str(),
                                 command.Name.c_str()));
        if (name == key)
            result = value;
    }
    return result;
}
