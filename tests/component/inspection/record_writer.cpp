// A second copy of the tool as far as its records go: appends `count` records of the tag's to
// the book in the folder, as fast as it can.
//
//   record_writer.exe <folder, without its last backslash> <tag> <count>
#include "inspection/RecordBook.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    TRecordBook book(std::wstring(argv[1], argv[1] + std::char_traits<char>::length(argv[1])) + L'\\');
    TPressRecord record;
    record.Start = {2026, 12, 9, 3, 10, 0, 60};
    record.Computer = "STATION4";
    record.Account = "op";
    record.Outcome = "PASS";
    record.Status = argv[2];
    for (int i = 0; i < std::atoi(argv[3]); ++i) {
        record.Ms = static_cast<uint32_t>(i);
        book.Add(record);
    }
    return static_cast<int>(book.KeptLines());
}
