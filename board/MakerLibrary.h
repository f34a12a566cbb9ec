/*
 * A maker library loaded at run time, taken whole or not at all, from the one list of its
 * entry points (board/PaldrixJtagApi.h, board/PaldrixDownloadApi.h). From a list
 *     #define LIST(V) V(name, return type, (parameters)) ...
 * KV7_MAKER_ENTRY_TABLE makes a table type with one typed pointer per entry (the library's
 * calling convention included), each named exactly as the export, and its Resolve, which
 * looks every name up. TMakerLibrary owns the module and the table, and Call is the only way
 * into the library: every call of every entry passes through it, so what must surround each
 * call into a closed library (a fault guard, the floating-point state put back) is written
 * once, there.
 */
#pragma once

#include "base/GuardedCall.h"
#include "base/Handles.h"
#include "base/PathSpelling.h"
#include "base/SystemError.h"
#include "base/Trace.h"
#include "board/PaldrixCall.h"

#include <windows.h>

#include <string>
#include <type_traits>
#include <utility>

// Stores the export's address in the entry (null when the library lacks it); true when found.
// GetProcAddress hands back an untyped address; the conversion to the entry's type is here.
template <typename Entry>
bool ResolveEntry(HMODULE library, const char* name, Entry& entry)
{
    entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return entry != nullptr;
}

// The export names of a list, as array elements: { LIST(KV7_MAKER_ENTRY_NAME) } lists what the
// library must export, for a reader of the file that does not load it.
#define KV7_MAKER_ENTRY_NAME(name, result, parameters) #name,
#define KV7_MAKER_ENTRY_MEMBER(name, result, parameters) result(PALDRIX_API* name) parameters = nullptr;
#define KV7_MAKER_ENTRY_RESOLVE(name, result, parameters) found &= ResolveEntry(library, #name, name);

// Every entry is looked up, even after one is missing, so a library is judged whole.
#define KV7_MAKER_ENTRY_TABLE(Table, LIST)                                                       \
    struct Table {                                                                               \
        LIST(KV7_MAKER_ENTRY_MEMBER)                                                             \
        bool Resolve(HMODULE library)                                                            \
        {                                                                                        \
            bool found = true;                                                                   \
            LIST(KV7_MAKER_ENTRY_RESOLVE)                                                        \
            return found;                                                                        \
        }                                                                                        \
    };

template <typename TEntries>
class TMakerLibrary {
public:
    enum class TLoad { Loaded, NoModule, EntryMissing };

    TMakerLibrary() = default;
    TMakerLibrary(const TMakerLibrary&) = delete;
    TMakerLibrary& operator=(const TMakerLibrary&) = delete;

    // Loads the module of that file name from the folder (by its full path in UTF-16, so that a
    // folder of any name will do) and resolves every entry of the list; anything short of all
    // of them leaves nothing loaded.
    TLoad Load(const std::wstring& folder, const std::string& fileName)
    {
        Unload();
        Name = fileName;
        const std::wstring path = folder + std::wstring(fileName.begin(), fileName.end());
        Module.Reset(LoadLibraryW(path.c_str()));
        if (!Module) {
            // The box says which file; why the system refused it (a library it needs is missing,
            // another processor's, ...) only the trace says.
            const DWORD error = GetLastError();
            TraceFailure("fail to load dll - %s: %s (error %lu)", Readable(path).c_str(),
                         SystemErrorText(error).c_str(), static_cast<unsigned long>(error));
            return TLoad::NoModule;
        }
        if (!Entries.Resolve(Module.Get())) {
            Unload();
            return TLoad::EntryMissing;
        }
        return TLoad::Loaded;
    }

    void Unload()
    {
        Entries = TEntries{};
        Module.Reset();
    }

    bool IsLoaded() const { return static_cast<bool>(Module); }

    // Calls one entry of the list, named as a member of the table: the one path into the
    // library, and so the one place of its guard (base/GuardedCall.h). After every call the
    // x87 control word is the program's again. A fault inside the library lets the library go
    // at once, so that nothing calls into it again (a close included), and comes out as
    // TLibraryFault for the caller to turn into the program's behaviour. The caller makes sure
    // the library is loaded.
    template <auto Entry, typename... TArgs>
    auto Call(TArgs&&... args) -> decltype((std::declval<TEntries&>().*Entry)(std::forward<TArgs>(args)...))
    {
        using TResult = decltype((Entries.*Entry)(std::forward<TArgs>(args)...));
        TFault fault;
        if constexpr (std::is_void_v<TResult>) {
            if (RunGuarded([&] { (Entries.*Entry)(std::forward<TArgs>(args)...); }, fault))
                return;
            Unload();
            throw TLibraryFault(fault, Name);
        } else {
            TResult result{};
            if (RunGuarded([&] { result = (Entries.*Entry)(std::forward<TArgs>(args)...); }, fault))
                return result;
            Unload();
            throw TLibraryFault(fault, Name);
        }
    }

private:
    UniqueModule Module;
    TEntries Entries;
    std::string Name; // the file name, for the operator's report of a fault
};
