/*
 * The manifest is read only for the names of the assemblies it asks for, to name them when the
 * system cannot provide them; whether it can is the system's own answer (CreateActCtx).
 */
#include "check/LibraryManifest.h"

#include "base/Handles.h"
#include "base/SystemError.h"

#include <algorithm>
#include <cctype>

namespace {

// The loader takes a library's own manifest from this resource (ISOLATIONAWARE_MANIFEST_RESOURCE_ID).
constexpr WORD LIBRARY_MANIFEST_ID = 2;
constexpr WORD MANIFEST_RESOURCE_TYPE = 24; // RT_MANIFEST, whose own spelling follows UNICODE

// The value of attribute in the tag text, or "".
std::string Attribute(const std::string& tag, const char* name)
{
    const std::string key = std::string(name) + "=";
    for (size_t at = tag.find(key); at != std::string::npos; at = tag.find(key, at + 1)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(tag[at - 1])))
            continue;
        const size_t open = at + key.size();
        if (open >= tag.size() || (tag[open] != '"' && tag[open] != '\''))
            return "";
        const size_t close = tag.find(tag[open], open + 1);
        return close == std::string::npos ? "" : tag.substr(open + 1, close - open - 1);
    }
    return "";
}

// The assemblies a manifest depends on, as "name version (processor)". The manifest may name its
// elements with a namespace prefix, so they are found by their local names.
std::vector<std::string> DependentAssemblies(const std::string& manifest)
{
    std::vector<std::string> assemblies;
    for (size_t at = manifest.find("dependentAssembly"); at != std::string::npos;
         at = manifest.find("dependentAssembly", at + 1)) {
        const size_t identity = manifest.find("assemblyIdentity", at);
        const size_t end = identity == std::string::npos ? std::string::npos : manifest.find('>', identity);
        if (end == std::string::npos)
            break;
        const std::string tag = manifest.substr(identity, end - identity);
        const std::string name = Attribute(tag, "name");
        if (name.empty())
            continue;
        std::string text = name + " " + Attribute(tag, "version");
        if (const std::string processor = Attribute(tag, "processorArchitecture"); !processor.empty())
            text += " (" + processor + ")";
        if (std::find(assemblies.begin(), assemblies.end(), text) == assemblies.end())
            assemblies.push_back(text);
        at = end;
    }
    return assemblies;
}

} // namespace

TLibraryContext::TLibraryContext(const std::wstring& path, std::string& failure)
{
    // Opened as data: the file's resources are reachable and none of its code runs.
    UniqueModule data(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC resource = data ? FindResourceW(data.Get(), MAKEINTRESOURCEW(LIBRARY_MANIFEST_ID),
                                                MAKEINTRESOURCEW(MANIFEST_RESOURCE_TYPE))
                                : nullptr;
    if (!resource)
        return;
    HGLOBAL loaded = LoadResource(data.Get(), resource);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    Assemblies = DependentAssemblies(bytes ? std::string(bytes, SizeofResource(data.Get(), resource)) : std::string());
    // The system opens the file itself for the manifest, as the loader does; the data-file
    // handle is not needed for that.
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(LIBRARY_MANIFEST_ID);
    Context = CreateActCtxW(&request);
    if (Context == INVALID_HANDLE_VALUE)
        failure = SystemErrorText(GetLastError());
    else
        Active = ActivateActCtx(Context, &Cookie);
}

TLibraryContext::~TLibraryContext()
{
    if (Active)
        DeactivateActCtx(0, Cookie);
    if (Context != INVALID_HANDLE_VALUE)
        ReleaseActCtx(Context);
}

bool TLibraryContext::Provides(const std::wstring& name) const
{
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return Active &&
           FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name.c_str(), &data);
}
