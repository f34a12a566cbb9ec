/*
 * The batch line spells the cable without a blank before "[" (the report spells it with one)
 * and puts two blanks on each side of the redirection; the programmer relies on neither, but
 * the bytes stay as the tool has always written them.
 */
#include "chain/ChainCommand.h"

std::string WithTrailingBackslash(const std::string& folder)
{
    if (!folder.empty() && folder.back() == '\\')
        return folder;
    return folder + "\\";
}

std::string ProgrammerPath(const std::string& quartusFolder)
{
    return quartusFolder + "\\bin\\" + PROGRAMMER_FILE_NAME;
}

std::string QuotedIfBlank(const std::string& path)
{
    if (path.find(' ') == std::string::npos)
        return path;
    return "\"" + path + "\"";
}

std::string BatchLine(const std::string& programmer, int cable, const std::string& report)
{
    return QuotedIfBlank(programmer) + " -c USB-Blaster[USB-" + std::to_string(cable) + "] -a  >  " +
           QuotedIfBlank(report);
}
