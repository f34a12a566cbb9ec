/*
 * Any bytes as a programmer's report: the reader must never read outside the text, and what
 * it hands on must hold for every input: entries only with a true result or a refused long
 * field, every field zero-terminated within its record and free of blanks.
 */
#include "chain/ChainReport.h"
#include "chain/Jtagbus.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckField(const char (&field)[32])
{
    const void* end = std::memchr(field, '\0', sizeof field);
    Check(end != nullptr);
    Check(std::memchr(field, ' ', static_cast<const char*>(end) - field) == nullptr);
}

} // namespace

// The first byte chooses the cable (low four bits) and whether the rest is a whole report or
// only a device block (high bit); the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int cable = data[0] & 0x0F;
    const bool blockOnly = (data[0] & 0x80) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    TChainList list;
    bool ok;
    if (blockOnly) {
        ok = ParseDeviceBlock(list, text);
    } else {
        ok = ReadChainReport(list, text, cable);
        if (ok) {
            const std::optional<std::string_view> block = FindDeviceBlock(text, cable);
            Check(block.has_value() && !block->empty());
            Check(block->data() > text.data() && block->data() + block->size() <= text.data() + text.size());
            Check(text.find(REPORT_FAILURE_LINE) == std::string_view::npos);
        }
    }
    if (ok && !blockOnly)
        Check(!list.empty());
    for (const auto& device : list) {
        Check(device != nullptr);
        CheckField(device->Code);
        CheckField(device->DeviceName);
    }
    return 0;
}
