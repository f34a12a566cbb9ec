/*
 * The tool's own folder, where it loads the maker's libraries and the configurations from, as
 * the tool's file calls must spell it in the ANSI code page: exactly, or by its short name
 * where the code page lacks a letter of it, or not at all.
 */
#include "check/Checks.h"

#include "base/Paths.h"
#include "chain/PathSpelling.h"

#include <windows.h>

namespace {

// The executable's folder in UTF-16, with its trailing backslash. The file name is asked in
// UTF-16: the ANSI answer has a "?" for every letter the code page lacks.
std::wstring ExeFolderWide()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path.substr(0, path.find_last_of(L'\\') + 1);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

void CheckToolFolder(TReport& report, TCheckContext& context)
{
    const char* CHECK = "Tool folder";
    context.ExeFolder = ExeFolderWide();
    const UINT codePage = GetACP();
    const TSpelledPath spelled = SpellPath(context.ExeFolder, codePage);
    const std::string where = " in code page " + std::to_string(codePage);
    if (!spelled.Failure.empty())
        report.Fail(CHECK, Readable(context.ExeFolder) + " cannot be spelled" + where + ": " + spelled.Failure,
                    "move the tool and its files to a folder with a plain name, e.g. C:\\KV7Inspect");
    else if (spelled.Text != Readable(context.ExeFolder))
        report.Ok(CHECK, Readable(context.ExeFolder) + ", spelled by its short name " + spelled.Text + where);
    else
        report.Ok(CHECK, spelled.Text + ", spelled exactly" + where);
}
