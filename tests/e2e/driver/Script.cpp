#include "Script.h"

#include <cctype>
#include <cstdio>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads a quoted word starting at line[i] (the quote); leaves i after the closing quote.
bool ReadQuoted(std::string_view line, size_t& i, std::string& out, std::string& error)
{
    char quote = line[i++];
    while (i < line.size()) {
        char c = line[i++];
        if (c == quote)
            return true;
        if (c != '\\' || quote == '\'') {
            out += c;
            continue;
        }
        if (i >= line.size())
            break;
        char e = line[i++];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case '\'': out += '\''; break;
        case 'x': {
            int high = i < line.size() ? HexDigit(line[i]) : -1;
            int low = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hexadecimal digits";
                return false;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
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
        if (line[i] == '#' && !(i + 1 < line.size() && std::isdigit(static_cast<unsigned char>(line[i + 1]))))
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

std::vector<Command> ParseScript(std::string_view text, std::vector<ScriptError>& errors)
{
    std::vector<Command> commands;
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++number;
        std::vector<Token> tokens;
        std::string error;
        if (!Tokenize(line, tokens, error)) {
            errors.push_back({number, error});
        } else if (!tokens.empty()) {
            Command command;
            command.Line = number;
            command.Source = std::string(line);
            while (!command.Source.empty() && IsBlank(command.Source.back()))
                command.Source.pop_back();
            command.Name = tokens.front().Text;
            command.Args.assign(tokens.begin() + 1, tokens.end());
            commands.push_back(std::move(command));
        }
        start = end + 1;
    }
    return commands;
}

bool SplitOption(const Token& token, std::string& key, std::string& value)
{
    if (token.Quoted)
        return false;
    size_t equals = token.Text.find('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    key = token.Text.substr(0, equals);
    value = token.Text.substr(equals + 1);
    return true;
}
