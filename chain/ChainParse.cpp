/*
 * The device block reader: fields separated by runs of blanks (only the blank itself; CR, LF
 * and tabs belong to a field), taken in pairs of code and device name. With several devices
 * the line end between two device lines therefore stays at the end of the preceding name;
 * bring-up then refuses such a board as an unknown type, which is intended.
 */
#include "chain/ChainReport.h"

#include <cstring>

namespace {

enum class ParseState { BeforeCode, InCode, BeforeName, InName };

void CopyField(char (&field)[32], const std::string& text)
{
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
}

} // namespace

bool ParseDeviceBlock(TChainList& list, std::string_view block)
{
    ParseState state = ParseState::BeforeCode;
    std::string code;
    std::string name;

    // Appends the pair read so far; false when a field is too long for its record.
    auto completePair = [&]() {
        if (name.size() > CHAIN_FIELD_MAX || code.size() > CHAIN_FIELD_MAX)
            return false;
        auto device = std::make_unique<TChainDevice>();
        CopyField(device->Code, code);
        CopyField(device->DeviceName, name);
        list.push_back(std::move(device));
        code.clear();
        name.clear();
        state = ParseState::BeforeCode;
        return true;
    };

    for (size_t i = 0; i < block.size(); ++i) {
        const char c = block[i];
        const bool blank = c == ' ';
        const bool last = i + 1 == block.size();
        switch (state) {
        case ParseState::BeforeCode:
            if (!blank) {
                code.assign(1, c);
                state = ParseState::InCode;
            }
            break;
        case ParseState::InCode:
            if (blank)
                state = ParseState::BeforeName;
            else
                code += c;
            break;
        case ParseState::BeforeName:
            if (!blank) {
                name.assign(1, c);
                state = ParseState::InName;
                // A one-character name that ends the block is a whole name too.
                if (last && !completePair())
                    return false;
            }
            break;
        case ParseState::InName:
            if (!blank)
                name += c;
            if ((blank || last) && !completePair())
                return false;
            break;
        }
    }

    if (state == ParseState::BeforeCode)
        return true;
    // A code without its name: nothing read from this block can be trusted.
    list.clear();
    return false;
}
