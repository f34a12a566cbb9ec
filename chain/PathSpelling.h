/*
 * Paths spelled for the reader that takes them. We know our paths in UTF-16 (the temporary
 * folder, the Quartus folder), but hand them on as bytes: to the file calls and the command
 * line in the ANSI code page, and to cmd in the batch file, which it reads in the console's
 * code page. A name spelled in the wrong one, or with a stand-in for a letter the code page
 * lacks, names another folder or none at all.
 */
#pragma once

#include <windows.h>

#include <string>

// The code page cmd reads the batch file in. cmd converts each line of a batch file from its
// console's code page, and the programmer gets a console of its own (CREATE_NEW_CONSOLE), which
// starts in the OEM code page. Our own console's code page (GetConsoleCP) would not do: the
// program is a GUI process and has no console, so that call answers 0.
UINT BatchCodePage();

// A path as a reader in codePage must spell it to name the same file or folder: as it is when
// every letter has an exact spelling there, else by its short (8.3) name, which the file must
// exist to have. Failure says why neither will do; Text is then empty.
struct TSpelledPath {
    std::string Text;
    std::string Failure;
};
TSpelledPath SpellPath(const std::wstring& path, UINT codePage);

// The ANSI code page's text in UTF-16.
std::wstring FromAnsi(const std::string& text);

// The text for a trace line or a failure description: ANSI where every letter has a spelling
// there, else ASCII with \u escapes for the rest, so that the line names the folder exactly.
std::string Readable(const std::wstring& text);
