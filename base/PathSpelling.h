/*
 * Paths spelled for the reader that takes them. We know our paths in UTF-16 (the program's own
 * folder, the temporary folder, the Quartus folder), but hand them on as bytes: to the file
 * calls, the command line and the maker's libraries in the ANSI code page, and to cmd in the
 * batch file, which it reads in its console's code page. A name spelled in the wrong one, or
 * with a stand-in for a letter the code page lacks, names another folder or none at all.
 */
#pragma once

#include <windows.h>

#include <string>

// The ANSI code page as a number. Windows' "Use Unicode UTF-8 for worldwide language support"
// setting makes it 65001 (CP_UTF8), which takes other conversion arguments than the others.
UINT AnsiCodePage();

// The code page cmd starts reading the batch file in. cmd converts each line of a batch file
// from its console's code page, and the programmer gets a console of its own, one without a
// window (CREATE_NO_WINDOW), which like every new console starts in the OEM code page unless the
// account's console settings or an AutoRun command change it (SpellForBatch makes the line
// independent of that). Our own console's code page (GetConsoleCP) would not do: the program is
// a GUI process and has no console, so that call answers 0.
UINT BatchCodePage();

// A path as a reader in codePage must spell it to name the same file or folder: as it is when
// every letter has an exact spelling there, else by its short (8.3) name, which the file must
// exist to have. Failure says why neither will do; Text is then empty. codePage may be a
// number or CP_ACP / CP_OEMCP, which are resolved first.
struct TSpelledPath {
    std::string Text;
    std::string Failure;
};
TSpelledPath SpellPath(const std::wstring& path, UINT codePage);

// A path for the batch file: plain ASCII wherever it can be (the path itself, or else its
// short name), because ASCII reads the same in every code page a console may be switched to;
// only where neither is ASCII (a volume without short names), its spelling in codePage. Wine
// cannot show the need: its cmd runs no AutoRun command and its consoles take no CodePage
// setting, so there a console always starts in the OEM code page.
TSpelledPath SpellForBatch(const std::wstring& path, UINT codePage);

// The folder part of a path, up to and including its last backslash (empty when it has none).
// Searched in UTF-16, where a backslash is always a backslash: in a double-byte ANSI code page
// the second byte of a letter can be 5C.
std::wstring FolderOf(const std::wstring& path);

// The text for a trace line, a failure description or a box: ANSI where every letter has a
// spelling there, else ASCII with \u escapes for the rest, so that the line names the folder
// exactly.
std::string Readable(const std::wstring& text);
