/*
 * A maker library's own manifest, as the loader takes it when it loads the library: the
 * side-by-side assemblies it asks for (the C runtimes of 2005 and 2008 came that way) must all be
 * found, or the load fails. The activation context is made from the library file as the loader
 * makes it, without loading the library.
 */
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The activation context made from the library's own manifest, active while this lives, so that
// the names its assemblies provide can be looked up in it. A library without a manifest has none.
class TLibraryContext {
public:
    // Failure is set to the system's reason when the manifest's assemblies cannot be found.
    TLibraryContext(const std::wstring& path, std::string& failure);
    ~TLibraryContext();
    TLibraryContext(const TLibraryContext&) = delete;
    TLibraryContext& operator=(const TLibraryContext&) = delete;

    // True when an assembly of the manifest provides the library of that name.
    bool Provides(const std::wstring& name) const;

    std::vector<std::string> Assemblies; // those the manifest asks for, as "name version (processor)"

private:
    HANDLE Context = INVALID_HANDLE_VALUE;
    ULONG_PTR Cookie = 0;
    BOOL Active = FALSE;
};
