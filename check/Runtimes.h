/*
 * What to install for a library or an assembly a maker library needs and the PC lacks. Most are
 * a Microsoft C or C++ runtime of the maker's compiler, which a redistributable package of that
 * release installs; for anything else only the maker can say.
 */
#pragma once

#include <cstdint>
#include <string>

// "x86", "x64", or the processor's name otherwise: as the redistributables are named.
std::string ProcessorName(uint16_t machine);

// For a library by its name in lower case: "install ..." or "ask the board maker ...".
std::string InstallOfLibrary(const std::wstring& lowerName, const std::string& processor);

// For a side-by-side assembly by its name: the same.
std::string InstallOfAssembly(const std::string& assembly, const std::string& processor);
