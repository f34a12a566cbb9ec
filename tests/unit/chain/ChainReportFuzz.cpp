/*
 * Any bytes as a programmer's report or device block. The block reader is held to a model of
 * its rule written another way (split at blanks, take pairs): the same verdict and the same
 * fields, so no character is lost, invented or read from outside the text. A report that says
 * the chain could not be read never yields a device.
 */
#include "chain/ChainReport.h"
#include "chain/Jtagbus.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// A record's field holds the word and its terminating zero, embedded zero bytes and all.
bool Holds(const char (&field)[32], const std::string& word)
{
    return word.size() <= CHAIN_FIELD_MAX && std::memcmp(field, word.data(), word.size()) == 0 &&
           field[word.size()] == '\0';
}

// The fields the block reader should hand on, and its verdict: complete pairs in order; a
// field too long stops the reading and keeps the pairs before it; a code without its name
// leaves nothing.
bool ModelParse(std::string_view block, std::vector<std::string>& fields)
{
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = block.find_first_not_of(' ', at)) != std::string_view::npos) {
        const size_t end = std::min(block.find(' ', at), block.size());
        words.emplace_back(block.substr(at, end - at));
        at = end;
    }
    for (size_t i = 0; i + 1 < words.size(); i += 2) {
        if (words[i].size() > CHAIN_FIELD_MAX || words[i + 1].size() > CHAIN_FIELD_MAX)
            return false;
        fields.push_back(words[i]);
        fields.push_back(words[i + 1]);
    }
    if (words.size() % 2 == 0)
        return true;
    fields.clear();
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int cable = data[0] & 0x0F;
    const bool blockOnly = (data[0] & 0x80) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    TChainList list;
    if (blockOnly) {
        std::vector<std::string> expected;
        Check(ParseDeviceBlock(list, text) == ModelParse(text, expected));
        Check(list.size() * 2 == expected.size());
        for (size_t i = 0; i < list.size(); ++i)
            Check(Holds(list[i]->Code, expected[2 * i]) && Holds(list[i]->DeviceName, expected[2 * i + 1]));
    } else if (ReadChainReport(list, text, cable)) {
        Check(!list.empty() && text.find(REPORT_FAILURE_LINE) == std::string_view::npos);
    }
    return 0;
}
