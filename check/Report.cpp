/*
 * A box is answered OK, as the operator would answer the tool's boxes, and its caption and
 * text go into the line in the trace's quoting, so that a text of several lines stays one line.
 */
#include "check/Report.h"

#include "check/Console.h"

#include "base/Box.h"
#include "base/Trace.h"

TReport::TReport()
{
    SetBoxHook([this](const TBoxRequest& box) {
        Boxes.push_back(box.Caption + " box " + TraceQuote(box.Text));
        return BoxAnswer::Ok;
    });
}

TReport::~TReport() { SetBoxHook(nullptr); }

void TReport::Ok(const std::string& check, const std::string& found) { Line("OK  ", check, found, ""); }

void TReport::Warn(const std::string& check, const std::string& found, const std::string& todo)
{
    ++Warnings;
    Line("WARN", check, found, todo);
}

void TReport::Fail(const std::string& check, const std::string& found, const std::string& todo)
{
    ++Failures;
    Line("FAIL", check, found, todo);
}

void TReport::Line(const char* tag, const std::string& check, const std::string& found, const std::string& todo)
{
    std::string line = std::string(tag) + "  " + check + ": " + found;
    for (const std::string& box : Boxes)
        line += " [" + box + "]";
    Boxes.clear();
    if (!todo.empty())
        line += " -> " + todo;
    WriteLine(line);
}

int TReport::Finish()
{
    const std::string counts = std::to_string(Failures) + " failed, " + std::to_string(Warnings) + " warning(s)";
    WriteLine(Failures == 0 ? "Verdict: ready for KV7Inspect.exe (" + counts + ")"
                            : "Verdict: NOT ready for KV7Inspect.exe (" + counts + "): mend each FAIL above");
    return Failures;
}
