/*
 * The libraries a maker library needs, found or not the way the loader would find them when the
 * tool loads it by its full path: a library it lacks makes LoadLibrary fail ("fail to load dll -
 * ..." at the first press) although the file itself is sound. Nothing is loaded to look, so none
 * of the maker's code runs.
 */
#pragma once

#include "check/PeExports.h"

#include <string>
#include <vector>

struct TMissingDependency {
    std::string What;    // "MSVCR100.dll", or "side-by-side assembly Microsoft.VC90.CRT 9.0.21022.8"
    std::string Install; // what to do: what to install, or whom to ask
};

struct TDependencies {
    size_t Found = 0; // libraries and assemblies found
    std::vector<TMissingDependency> Missing;
};

// The imports and delay imports of the library at the path (read into library), and of every
// library they find outside the system folders, and the assemblies its manifest asks for.
TDependencies FindDependencies(const std::wstring& libraryPath, const TPeExports& library);
