/*
 * The device block search over the programmer's report. Every search is an exact,
 * case-sensitive byte comparison over the whole text, embedded zero bytes included.
 */
#include "chain/ChainReport.h"

std::string ReportCableHeader(int cable)
{
    return "USB-Blaster [USB-" + std::to_string(cable) + "]\r\n  ";
}

std::optional<std::string_view> FindDeviceBlock(std::string_view report, int cable)
{
    if (report.find(REPORT_FAILURE_LINE) != std::string_view::npos)
        return std::nullopt;

    const std::string header = ReportCableHeader(cable);
    const size_t headerAt = report.find(header);
    const size_t markerAt = report.find(REPORT_END_MARKER);
    if (headerAt == std::string_view::npos || markerAt == std::string_view::npos)
        return std::nullopt;

    // A header at the very first character is refused, and the first end marker of the whole
    // report must start at least one character after the header.
    const size_t blockAt = headerAt + header.size();
    if (headerAt == 0 || blockAt >= markerAt)
        return std::nullopt;
    return report.substr(blockAt, markerAt - blockAt);
}

bool ReadChainReport(TChainList& list, std::string_view report, int cable)
{
    const std::optional<std::string_view> block = FindDeviceBlock(report, cable);
    if (!block)
        return false;
    const size_t before = list.size();
    return ParseDeviceBlock(list, *block) && list.size() > before;
}
