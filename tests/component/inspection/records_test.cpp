// The book of press records against real folders and files: a line per record, in the day's
// file with its header; a file a spreadsheet holds, and a folder that cannot be written, keep the
// lines until they can be written, telling the operator once; two copies of the tool append to
// one file without mixing their lines.
#include "inspection/RecordBook.h"

#include "tests/support/BoxRecorder.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextFiles.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr char FILE_NAME[] = "2026-12-09 STATION4 op.csv";
const std::string HEAD = std::string("\xEF\xBB\xBF") + RECORD_HEADER + "\r\n";

TPressRecord Record(const char* outcome)
{
    TPressRecord record;
    record.Start = {2026, 12, 9, 3, 10, 0, 60};
    record.Computer = "STATION4";
    record.Account = "op";
    record.Connector = 'C';
    record.Outcome = outcome;
    return record;
}

std::string Line(const char* outcome) { return RecordLine(Record(outcome)) + "\r\n"; }

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A book whose folder and the one above it are still to be made, as on a new PC.
class Records : public testing::Test {
protected:
    std::string File(const std::string& name = FILE_NAME) const { return Folder / ("KV7Inspect\\Records\\" + name); }

    TempFolder Folder{"kv7 records"};
    BoxRecorder Boxes;
    TRecordBook Book{Wide(Folder / "KV7Inspect\\Records\\")};
};

} // namespace

TEST_F(Records, EveryOutcomeIsOneLineOfTheDaysFile)
{
    for (const char* outcome : {"PASS", "NG", "NOT READY", "STOPPED"})
        Book.Add(Record(outcome));
    TPressRecord nextDay = Record("PASS");
    nextDay.Start.Day = 10;
    Book.Add(nextDay);

    EXPECT_EQ(ReadText(File()), HEAD + Line("PASS") + Line("NG") + Line("NOT READY") + Line("STOPPED"));
    EXPECT_EQ(ReadText(File("2026-12-10 STATION4 op.csv")), HEAD + RecordLine(nextDay) + "\r\n");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

// A spreadsheet opens a CSV without sharing it for writing. Its lines wait, the operator is told
// once, and once it is closed they are written in their order, with none lost or doubled; a
// line an earlier writer left unfinished stays apart from them.
TEST_F(Records, FileHeldOpenThenReleasedLosesNoLine)
{
    Book.Add(Record("PASS"));
    WriteText(File(), ReadText(File()) + "2026-12-09T03:09:00+01:00,12");
    {
        UniqueHandle spreadsheet(CreateFileA(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(spreadsheet);
        Book.Add(Record("NG"));
        Book.Add(Record("NOT READY"));
        EXPECT_EQ(Book.KeptLines(), 2u);
    }
    ASSERT_EQ(Boxes.Boxes.size(), 1u) << "told once";
    EXPECT_EQ(Boxes.Boxes[0].Kind, BoxKind::Information);
    EXPECT_NE(Boxes.Boxes[0].Text.find(Folder.Path()), std::string::npos) << Boxes.Boxes[0].Text;

    Book.Add(Record("STOPPED"));
    EXPECT_EQ(Book.KeptLines(), 0u);
    EXPECT_EQ(ReadText(File()), HEAD + Line("PASS") + "2026-12-09T03:09:00+01:00,12\r\n" + Line("NG") +
                                    Line("NOT READY") + Line("STOPPED"));
}

// A file where the folder should be: nothing can be made there, and the close gives the lines
// to the trace in full, without writing anywhere else.
TEST_F(Records, FolderThatCannotBeWrittenKeepsTheLines)
{
    WriteText(Folder / "records", "");
    TRecordBook book(Wide(Folder / "records\\day\\"));
    book.Add(Record("PASS"));
    book.Add(Record("NG"));
    EXPECT_EQ(book.KeptLines(), 2u);
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    TraceCapture trace;
    book.Close();
    EXPECT_EQ(book.KeptLines(), 0u);
    EXPECT_EQ(ReadText(Folder / "records"), "");
    for (const char* outcome : {"PASS", "NG"})
        EXPECT_NE(trace.LineStarting("KV7: record not written: " + RecordLine(Record(outcome))), "") << outcome;
}

// Two copies of the tool, each in its own process, appending to one new file at once: one
// header, and every line whole.
TEST_F(Records, TwoProcessesAppendWithoutMixingLines)
{
    constexpr int EACH = 200;
    // The folder without its last backslash, which would escape the quote after it.
    const std::string folder = Folder / "KV7Inspect\\Records";
    const std::string writer = "\"" + BuiltFile("record_writer.exe") + "\" \"" + folder + "\" ";
    ChildProcess first(writer + "first " + std::to_string(EACH));
    ChildProcess second(writer + "second " + std::to_string(EACH));
    ASSERT_TRUE(first.Started() && second.Started());
    EXPECT_EQ(first.Wait(60000), 0u);
    EXPECT_EQ(second.Wait(60000), 0u);

    const std::vector<std::string> lines = SplitLines(ReadText(File()));
    ASSERT_EQ(lines.size(), 1u + 2 * EACH);
    EXPECT_EQ(lines[0] + "\r\n", HEAD);
    int seen[2] = {};
    for (size_t i = 1; i < lines.size(); ++i) {
        TPressRecord record = Record("PASS");
        record.Connector = '?';
        record.Status = lines[i].find(",first,") != std::string::npos ? "first" : "second";
        int& count = seen[record.Status == "second"];
        record.Ms = static_cast<uint32_t>(count++);
        ASSERT_EQ(lines[i], RecordLine(record)) << "line " << i;
    }
}
