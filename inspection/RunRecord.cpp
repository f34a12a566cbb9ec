#include "RunRecord.h"

#include "app/FormMain.h"
#include "inspection/Station.h"

#include "KV7Version.h"

#include <string_view>

namespace {

// The run's outcome as its trace line gives it, in the record's words: a fault in a library and
// an error of the tool both stopped the run with no verdict.
const char* RecordOutcome(std::string_view outcome)
{
    if (outcome == "PASS")
        return "PASS";
    if (outcome == "NG")
        return "NG";
    return outcome == "not ready" ? "NOT READY" : "STOPPED";
}

} // namespace

void TRunRecord::Begin()
{
    GetSystemTimeAsFileTime(&Start);
    StartTick = GetTickCount();
    Watch.emplace();
}

void TRunRecord::Write(TFormMain& form, char letter, const char* outcome) noexcept
{
    try {
        // Neither name changes while Windows runs.
        static const std::string computer = ComputerNameUtf8();
        static const std::string account = AccountNameUtf8();
        TPressRecord record;
        record.Start = LocalRecordTime(Start);
        record.Ms = GetTickCount() - StartTick;
        record.Computer = computer;
        record.Account = account;
        record.Version = KV7_VERSION_TEXT;
        record.Connector = letter;
        record.Outcome = RecordOutcome(outcome);
        const TFormMain::TPressBoard& board = form.PressBoard;
        if (record.Outcome == "NG")
            record.FaultyPairs = board.FaultyPairs;
        record.IdCode = Utf8FromAnsi(board.Model.IdCode);
        record.Device = Utf8FromAnsi(board.Model.Device);
        record.Model = board.Model.Label;
        record.Board = board.Came;
        record.Status = Utf8FromAnsi(form.PanelText[0]);
        if (record.Outcome != "PASS") {
            std::string failure;
            for (const std::string& line : Watch->Failures())
                failure += (failure.empty() ? "" : "; ") + line;
            if (!Fault.empty())
                failure += (failure.empty() ? "" : "; ") + Fault;
            record.Failure = Utf8FromAnsi(failure);
        }
        form.Records.Add(record);
    } catch (const std::exception& error) {
        Trace("record not made: %s", error.what());
    }
}
