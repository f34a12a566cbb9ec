#include "PressRecord.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

// Letters Windows refuses in a file name, besides the control characters.
constexpr std::string_view NOT_IN_FILE_NAMES = "<>:\"/\\|?*";

std::string FileNamePart(std::string_view text)
{
    std::string part;
    for (char c : text)
        part += static_cast<unsigned char>(c) < 0x20 || NOT_IN_FILE_NAMES.find(c) != std::string_view::npos ? '_' : c;
    return part.empty() ? "_" : part;
}

} // namespace

std::string IsoTime(const TRecordTime& t)
{
    const int offset = std::abs(t.UtcOffsetMinutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.Year, t.Month, t.Day, t.Hour,
                  t.Minute, t.Second, t.UtcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string field = "\"";
    for (char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    return field + '"';
}

std::string RecordLine(const TPressRecord& r)
{
    const std::string fields[] = {IsoTime(r.Start), std::to_string(r.Ms), r.Computer, r.Account, r.Version,
                                  std::string(1, r.Connector), r.Outcome, r.FaultyPairs, r.IdCode, r.Device,
                                  r.Model, r.Board, r.Status, r.Failure};
    std::string line = CsvField(fields[0]);
    for (size_t i = 1; i < std::size(fields); ++i)
        line += ',' + CsvField(fields[i]);
    return line;
}

std::string RecordFileName(const TRecordTime& day, std::string_view computer, std::string_view account)
{
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.Year, day.Month, day.Day);
    // An account's dots and blanks at its end, which Windows would drop from a name, stay: the
    // extension follows them.
    return std::string(date) + ' ' + FileNamePart(computer) + ' ' + FileNamePart(account) + ".csv";
}
