/*
 * The bench file's keys and which values each one reads. An empty value is read by every part
 * as "the default" (and `chain =` as an empty chain), so it is always accepted.
 */
#include "BenchCheck.h"

#include "Bench.h"
#include "KeyValue.h"

#include <cstdlib>
#include <initializer_list>

namespace sim {

namespace {

enum class Rule { YesNo, Text, Pairs, Ms, Number, Exit, Cable, Choice };

struct Key {
    const char* Name;
    Rule How;
    std::initializer_list<const char*> Choices;
};

const Key KEYS[] = {
    {"powered", Rule::YesNo, {}},
    {"cable", Rule::YesNo, {}},
    {"chain", Rule::Text, {}},
    {"configured", Rule::YesNo, {}},
    {"firmware", Rule::Text, {}},
    {"faulty_a", Rule::Pairs, {}},
    {"faulty_b", Rule::Pairs, {}},
    {"faulty_c", Rule::Pairs, {}},
    {"faulty_d", Rule::Pairs, {}},
    {"loopback_ms", Rule::Ms, {}},
    {"firmware_start_ms", Rule::Ms, {}},
    {"reply_fault", Rule::Choice,
     {"none", "silent", "truncated", "bad_checksum", "wrong_echo", "wrong_length", "status", "stale", "chatty"}},
    {"reply_fault_on", Rule::Choice, {"all", "name", "loopback"}},
    {"open_fails", Rule::YesNo, {}},
    {"write_fails", Rule::YesNo, {}},
    {"read_result", Rule::Choice, {"normal", "negative", "excess"}},
    {"quartus_version", Rule::Number, {}},
    {"download_ms", Rule::Ms, {}},
    {"download_fails", Rule::YesNo, {}},
    {"programmer_ms", Rule::Ms, {}},
    {"programmer_exit", Rule::Exit, {}},
    {"programmer_cable", Rule::Cable, {}},
    {"journal", Rule::Text, {}},
    {"fault_in", Rule::Choice, {"none", "open", "close", "write", "write_loopback", "read", "version", "download"}},
    // Offered by no control (tests set it), but a misspelt step would hold nothing, silently.
    {"hold", Rule::Choice, {"none", "programmer", "download", "open", "name", "loopback"}},
};

bool WholeInteger(const std::string& value, long long& number, int base)
{
    char* end = nullptr;
    number = std::strtoll(value.c_str(), &end, base);
    return !value.empty() && *end == '\0';
}

// Empty when the value reads; else why not.
std::string Problem(const Key& key, const std::string& value)
{
    if (value.empty())
        return {};
    long long number = 0;
    switch (key.How) {
    case Rule::YesNo:
        return value == "yes" || value == "no" ? "" : "takes yes or no";
    case Rule::Text:
        return {};
    case Rule::Pairs:
        for (const std::string& item : SplitList(value, " ,\t"))
            if (!WholeInteger(item, number, 10) || number < 0 || number >= PIN_PAIRS)
                return "takes pair numbers 0-65";
        return {};
    case Rule::Ms:
        return WholeInteger(value, number, 10) && number >= 0 && number <= 0xFFFFFFFFLL ? "" : "takes milliseconds";
    case Rule::Number: {
        char* end = nullptr;
        std::strtod(value.c_str(), &end);
        return *end == '\0' ? "" : "takes a number";
    }
    case Rule::Exit:
        return WholeInteger(value, number, 0) ? "" : "takes an exit code";
    case Rule::Cable:
        return WholeInteger(value, number, 10) && number >= -1 ? "" : "takes a cable index or -1";
    case Rule::Choice:
        for (const char* choice : key.Choices)
            if (value == choice)
                return {};
        std::string list;
        for (const char* choice : key.Choices)
            list += (list.empty() ? "" : ", ") + std::string(choice);
        return "takes one of " + list;
    }
    return {};
}

const Key* FindKey(const std::string& name)
{
    for (const Key& key : KEYS)
        if (name == key.Name)
            return &key;
    return nullptr;
}

} // namespace

std::string BenchText::Value(const std::string& key, const std::string& fallback) const
{
    const auto found = Values.find(key);
    return found == Values.end() ? fallback : found->second;
}

BenchText CheckBenchText(std::string_view text)
{
    BenchText result;
    int number = 0;
    for (std::string_view line : SplitLines(text)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view content = line.substr(0, line.find('#'));
        const size_t equals = content.find('=');
        std::string why;
        std::string name;
        if (equals == std::string_view::npos) {
            if (!Trim(content).empty())
                why = "is not a \"key = value\" line";
        } else {
            name = Trim(content.substr(0, equals));
            const std::string value = Trim(content.substr(equals + 1));
            if (const Key* key = FindKey(name)) {
                why = Problem(*key, value);
                if (!why.empty())
                    why = name + " " + why;
                else
                    result.Values[name] = value;
            } else {
                result.UnknownKeys.push_back(name);
            }
        }
        if (!why.empty()) {
            result.Readable = false;
            result.BadLine = number;
            result.BadText = std::string(line);
            result.Why = why;
            return result;
        }
    }
    return result;
}

std::vector<int> PairList(const std::string& value)
{
    std::vector<int> pairs;
    for (const std::string& item : SplitList(value, " ,\t")) {
        long long pair = 0;
        if (WholeInteger(item, pair, 10) && pair >= 0 && pair < PIN_PAIRS)
            pairs.push_back(static_cast<int>(pair));
    }
    return pairs;
}

} // namespace sim
