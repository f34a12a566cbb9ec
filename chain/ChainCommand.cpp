/*
 * The batch line spells the cable without a blank before "[" (the report spells it with one)
 * and puts two blanks on each side of the redirection; the programmer relies on neither, but
 * the bytes stay as the tool has always written them.
 *
 * Both paths of the batch line and the batch file's path on the command line come from names
 * we do not choose (the account's temporary folder, the Quartus folder in the registry), and
 * cmd reads all three. Unquoted, a blank or , ; = ends the word, & | < > start another command
 * or a redirection, ( ) group, and ^ escapes: "C:\Users\R&D x\...\KV7_Output.txt" would send
 * the report to "C:\Users\R" and run "D" as a command. Between double quotes cmd takes all of
 * them as they are. A path holds no double quote (no file name can), so quoting is enough.
 *
 * The command line. Given the batch file's path as the whole command line and no application
 * name, CreateProcess starts the command interpreter itself as  cmd /c "<command line>", one
 * more pair of quotes around it. cmd /c then keeps the quotes only when the line holds exactly
 * two, with blanks and none of & < > ( ) @ ^ | between them, around the name of a program;
 * otherwise it removes the first and the last quote and parses the rest. A quoted path thus
 * arrives quoted (four quotes, the outer pair removed) and a plain one plain (two quotes and
 * no blank between them). Wine is more lenient: it starts  cmd /s /c "<command line>", which
 * removes the outer pair whatever the line holds, so a line that Windows' two-quote rule reads
 * otherwise would pass under Wine alone. The lines built here read the same under both.
 *
 * %. cmd expands %name% on both lines, between quotes too. In a batch file %% stands for one %,
 * so every % is doubled there; a single one would be dropped, or pair with the next into a
 * variable that expands to nothing. On the command line %% is not an escape (it stays %%), and
 * the same text must name the file for CreateProcess, which does no expansion, so % stays
 * single: cmd leaves a % alone there unless it closes the name of a variable that is set, which
 * no spelling of this command line can prevent.
 *
 * !. It matters only with delayed expansion, which a cmd started by CreateProcess has off
 * unless the machine's or the account's DelayedExpansion setting of the command processor
 * turns it on for every cmd. No spelling suits both states (with it on, a quoted ! needs ^!;
 * with it off, a quoted ^! stays ^!), so the lines are written for the default: ! is quoted
 * and left as it is.
 */
#include "chain/ChainCommand.h"

#include <string_view>

namespace {

constexpr std::string_view CMD_SPECIAL = " \t&|<>^()%!,;=";

std::string Quoted(const std::string& path, bool doublePercent)
{
    if (path.find_first_of(CMD_SPECIAL) == std::string::npos)
        return path;
    std::string quoted = "\"";
    for (char c : path) {
        quoted += c;
        if (c == '%' && doublePercent)
            quoted += '%';
    }
    return quoted + "\"";
}

} // namespace

std::wstring WithTrailingBackslash(const std::wstring& folder)
{
    if (!folder.empty() && folder.back() == L'\\')
        return folder;
    return folder + L"\\";
}

std::wstring ProgrammerPath(const std::wstring& quartusFolder)
{
    return quartusFolder + L"\\bin\\" + PROGRAMMER_FILE_NAME;
}

std::string BatchFileWord(const std::string& path) { return Quoted(path, true); }

std::string CommandLineWord(const std::string& path) { return Quoted(path, false); }

std::string RedirectedLine(const std::string& program, const std::string& arguments, const std::string& report)
{
    return BatchFileWord(program) + " " + arguments + "  >  " + BatchFileWord(report);
}

std::string BatchLine(const std::string& programmer, int cable, const std::string& report)
{
    return RedirectedLine(programmer, "-c USB-Blaster[USB-" + std::to_string(cable) + "] -a", report);
}
