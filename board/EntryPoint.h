/*
 * Resolving a maker library's export into a pointer of the type its declaration gives it.
 * GetProcAddress hands back an untyped address; the conversion lives here, once.
 */
#pragma once

#include <windows.h>

// Stores the export's address in the entry (null when the library lacks it); true when found.
template <typename Entry>
bool ResolveEntry(HMODULE library, const char* name, Entry& entry)
{
    entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return entry != nullptr;
}
