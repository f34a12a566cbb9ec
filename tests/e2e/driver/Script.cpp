#include "Script.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool IsName(const std::string& name)
{
    return !name.empty() && !IsDigit(name[0]) && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

// Fills the line's ${Name}s; false with a message for the first name it does not know.
bool Fill(std::string& line, const std::map<std::string, std::string>& names, std::string& error)
{
    for (size_t open = 0; (open = line.find("${", open)) != std::string::npos;) {
        const size_t close = line.find('}', open);
        const auto found = names.find(close == std::string::npos ? "" : line.substr(open + 2, close - open - 2));
        if (found == names.end()) {
            error = "unknown name " + line.substr(open, close == std::string::npos ? 2 : close + 1 - open);
            return false;
        }
        line.replace(open, close + 1 - open, found->second);
        open += found->second.size();
    }
    return true;
}

// Reads a quoted word starting at line[i] (the quote); leaves i after the closing quote.
bool ReadQuoted(std::string_view line, size_t& i, std::string& out, std::string& error)
{
    const char quote = line[i++];
    while (i < line.size()) {
        const char c = line[i++];
        if (c == quote)
            return true;
        if (c != '\\' || quote == '\'') {
            out += c;
            continue;
        }
        if (i >= line.size())
            break;
        const char e = line[i++];
        if (e == 'x') {
            if (i + 2 > line.size() || !std::isxdigit(static_cast<unsigned char>(line[i])) ||
                !std::isxdigit(static_cast<unsigned char>(line[i + 1]))) {
                error = "\\x needs two hexadecimal digits";
                return false;
            }
            out += static_cast<char>(std::stoi(std::string(line.substr(i, 2)), nullptr, 16));
            i += 2;
        } else if (const size_t at = std::string_view("nrt\\\"'").find(e); at != std::string_view::npos) {
            out += "\n\r\t\\\"'"[at];
        } else {
            error = std::string("unknown escape \\") + e;
            return false;
        }
    }
    error = "unterminated quote";
    return false;
}

} // namespace

bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error)
{
    tokens.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        // "#102" is a control number; any other '#' at the start of a word begins a comment.
        if (line[i] == '#' && !(i + 1 < line.size() && IsDigit(line[i + 1])))
            break;
        Token token;
        if (line[i] == '"' || line[i] == '\'') {
            token.Quoted = true;
            if (!ReadQuoted(line, i, token.Text, error))
                return false;
            if (i < line.size() && !IsBlank(line[i])) {
                error = "a quoted text must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && !IsBlank(line[i]))
                token.Text += line[i++];
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

std::vector<Command> ParseScript(std::string_view text, std::map<std::string, std::string> names,
                                 std::vector<ScriptError>& errors)
{
    std::vector<Command> commands;
    for (size_t start = 0, number = 1; start <= text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line(text.substr(start, end - start));
        start = end + 1;
        const int lineNumber = static_cast<int>(number);
        std::string error;
        if (!Fill(line, names, error)) {
            errors.push_back({lineNumber, error});
            continue;
        }
        std::istringstream words(line);
        std::string keyword, name, value;
        if (words >> keyword && keyword == "define") {
            words >> name >> std::ws;
            std::getline(words, value);
            value.erase(value.find_last_not_of(" \t\r") + 1);
            if (!IsName(name) || value.empty())
                errors.push_back({lineNumber, "usage: define <Name> <text>"});
            else if (!names.emplace(name, value).second)
                errors.push_back({lineNumber, "the name " + name + " is taken"});
            continue;
        }
        std::vector<Token> tokens;
        if (!Tokenize(line, tokens, error))
            errors.push_back({lineNumber, error});
        else if (!tokens.empty())
            commands.push_back({lineNumber, line.substr(0, line.find_last_not_of(" \t\r") + 1), tokens.front().Text,
                                std::vector<Token>(tokens.begin() + 1, tokens.end())});
    }
    return commands;
}

bool SplitOption(const Token& token, std::string& key, std::string& value)
{
    const size_t equals = token.Text.find('=');
    if (token.Quoted || equals == std::string::npos || equals == 0)
        return false;
    key = token.Text.substr(0, equals);
    value = token.Text.substr(equals + 1);
    return true;
}
