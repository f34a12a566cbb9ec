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

Matcher Contains(const std::string& text)
{
    return [text](const std::string& line) { return line.find(text) != std::string::npos; };
}

// Moves the cursor past the first line from the cursor on that contains the command's first
// word, or matches it as a pattern; returns that line.
std::string WaitFor(Session& session, const Command& command, bool pattern, const Deadline& deadline)
{
    const std::string& text = TextArg(command, 0);
    Matcher matches = Contains(text);
    try {
        if (pattern)
            matches = [regex = std::regex(text)](const std::string& line) { return std::regex_search(line, regex); };
    } catch (const std::regex_error&) {
        throw Failure("not a valid pattern: " + text);
    }
    Program& program = session.CurrentProgram();
    size_t found = 0;
    if (!FindLine(program, matches, deadline, found))
        throw Failure(Format("%s wrote no trace line %s %s %s (limit %g s)", session.Current.c_str(),
                             pattern ? "matching" : "containing", TraceQuote(text).c_str(),
                             program.Process->HasExited() ? "before it ended" : "in time", deadline.Limit()) +
                      Recent(program));
    program.Cursor = found + 1;
    return program.Process->LineAt(found);
}

} // namespace

KV7_HANDLER(RunWaitTrace) { WaitFor(session, command, false, deadline); }

KV7_HANDLER(RunWaitTracePattern) { WaitFor(session, command, true, deadline); }

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
    const std::string line = WaitFor(session, command, true, deadline);
    if (line.find(TextArg(command, 1)) == std::string::npos)
        throw Failure(Format("the next trace line matching %s is %s, expected one containing %s",
                             TraceQuote(TextArg(command, 0)).c_str(), TraceQuote(line).c_str(),
                             TraceQuote(TextArg(command, 1)).c_str()));
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
