/*
 * Commands on a program's diagnostic trace. Each program has a cursor: waits look from the
 * cursor on and move it past what they found, so a script reads the trace in order, once.
 */
#include "Commands.h"

#include "base/Trace.h"

#include <functional>
#include <regex>

namespace {

constexpr size_t CONTEXT_LINES = 6;

using Matcher = std::function<bool(const std::string&)>;

// The last lines from the cursor on, for a failure message.
std::string Recent(Program& program)
{
    size_t count = program.Process->LineCount();
    size_t first = count - program.Cursor > CONTEXT_LINES ? count - CONTEXT_LINES : program.Cursor;
    if (first >= count)
        return " (no trace lines since the last match)";
    std::string text = "; the trace since then ends with:";
    for (size_t i = first; i < count; ++i)
        text += "\n        " + program.Process->LineAt(i);
    return text;
}

// Index of the first matching line at or after the cursor, waiting for lines to come.
bool FindLine(Program& program, const Matcher& matches, const Deadline& deadline, size_t& found)
{
    size_t scanned = program.Cursor;
    for (;;) {
        size_t count = program.Process->LineCount();
        for (; scanned < count; ++scanned) {
            if (matches(program.Process->LineAt(scanned))) {
                found = scanned;
                return true;
            }
        }
        if (!program.Process->WaitForLines(count + 1, deadline))
            return false;
    }
}

void WaitFor(Session& session, const Matcher& matches, const std::string& what, const Deadline& deadline)
{
    Program& program = session.CurrentProgram();
    size_t found = 0;
    if (!FindLine(program, matches, deadline, found)) {
        const char* why = program.Process->HasExited() ? "before it ended" : "in time";
        throw Failure(Format("%s wrote no trace line %s %s (limit %g s)", session.Current.c_str(), what.c_str(), why,
                             deadline.Limit()) +
                      Recent(program));
    }
    program.Cursor = found + 1;
}

Matcher Contains(const std::string& text)
{
    return [text](const std::string& line) { return line.find(text) != std::string::npos; };
}

Matcher Matching(const std::string& text)
{
    try {
        return [pattern = std::regex(text)](const std::string& line) { return std::regex_search(line, pattern); };
    } catch (const std::regex_error&) {
        throw Failure("not a valid pattern: " + text);
    }
}

} // namespace

KV7_HANDLER(RunWaitTrace) { WaitFor(session, Contains(TextArg(command, 0)), "containing " + TraceQuote(TextArg(command, 0)), deadline); }

KV7_HANDLER(RunWaitTracePattern)
{
    WaitFor(session, Matching(TextArg(command, 0)), "matching " + TraceQuote(TextArg(command, 0)), deadline);
}

KV7_HANDLER(RunExpectTrace)
{
    Program& program = session.CurrentProgram();
    for (size_t i = 0; i < command.Args.size(); ++i) {
        const std::string& wanted = TextArg(command, i);
        if (!program.Process->WaitForLines(program.Cursor + 1, deadline))
            throw Failure(Format("expected a next trace line containing %s, but none came", TraceQuote(wanted).c_str()) +
                          Recent(program));
        std::string line = program.Process->LineAt(program.Cursor);
        if (line.find(wanted) == std::string::npos)
            throw Failure(Format("the next trace line is %s, expected one containing %s", TraceQuote(line).c_str(),
                                 TraceQuote(wanted).c_str()));
        ++program.Cursor;
    }
}

KV7_HANDLER(RunExpectNextTrace)
{
    const std::string& wanted = TextArg(command, 1);
    WaitFor(session, Matching(TextArg(command, 0)), "matching " + TraceQuote(TextArg(command, 0)), deadline);
    Program& program = session.CurrentProgram();
    std::string line = program.Process->LineAt(program.Cursor - 1);
    if (line.find(wanted) == std::string::npos)
        throw Failure(Format("the next trace line matching %s is %s, expected one containing %s",
                             TraceQuote(TextArg(command, 0)).c_str(), TraceQuote(line).c_str(), TraceQuote(wanted).c_str()));
}

KV7_HANDLER(RunExpectNoTrace)
{
    Program& program = session.CurrentProgram();
    double seconds = HasArg(command, 1) ? NumberArg(command, 1) : 0;
    Deadline quiet(seconds < deadline.Limit() ? seconds : deadline.Limit());
    size_t found = 0;
    if (FindLine(program, Contains(TextArg(command, 0)), quiet, found))
        throw Failure(Format("unexpected trace line %s", TraceQuote(program.Process->LineAt(found)).c_str()));
}
