/*
 * The tool's own folder, where it loads the maker's libraries and the configurations from, as
 * the tool's file calls must spell it in the ANSI code page: exactly, or by its short name
 * where the code page lacks a letter of it, or not at all.
 */
#include "check/Checks.h"

#include "base/Paths.h"
#include "base/PathSpelling.h"

void CheckToolFolder(TReport& report, TCheckContext& context)
{
    const char* CHECK = "Tool folder";
    context.ExeFolder = ExeFolderW();
    const TSpelledPath spelled = ExeFolderSpelled();
    const std::string where = " in code page " + std::to_string(AnsiCodePage());
    if (!spelled.Failure.empty())
        report.Fail(CHECK, Readable(context.ExeFolder) + " cannot be spelled" + where + ": " + spelled.Failure,
                    "move the tool and its files to a folder with a plain name, e.g. C:\\KV7Inspect");
    else if (spelled.Text != Readable(context.ExeFolder))
        report.Ok(CHECK, Readable(context.ExeFolder) + ", spelled by its short name " + spelled.Text + where);
    else
        report.Ok(CHECK, spelled.Text + ", spelled exactly" + where);
}
