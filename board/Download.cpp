/*
 * Loading the download library for one configuration attempt, and its two calls: the
 * Quartus version and the download itself.
 */
#include "board/Download.h"

#include "base/Box.h"
#include "base/Paths.h"

namespace {

constexpr char DOWNLOAD_DLL_NAME[] = "PALDRIX_DOWNLOAD.DLL";
constexpr char INCOMPLETE_LIBRARY[] = "load PALDRIX_DOWNLOAD.DLL fail. Cannot find all of desired API";

} // namespace

TDownload::TDownload() { LoadDll(); }

TDownload::~TDownload() { UnloadDll(); }

void TDownload::LoadDll()
{
    const std::wstring folder = ExeFolderW();
    switch (Library.Load(folder, DOWNLOAD_DLL_NAME)) {
    case TPaldrixDownloadLibrary::TLoad::NoModule:
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to load dll - " + Readable(folder) + DOWNLOAD_DLL_NAME);
        break;
    case TPaldrixDownloadLibrary::TLoad::EntryMissing:
        ShowBox(BoxKind::Error, BoxButtons::Ok, INCOMPLETE_LIBRARY);
        break;
    case TPaldrixDownloadLibrary::TLoad::Loaded:
        break;
    }
}

void TDownload::UnloadDll() { Library.Unload(); }

bool TDownload::IsLoaded() const { return Library.IsLoaded(); }

double TDownload::QuartusVersion()
{
    return Library.IsLoaded() ? Library.Call<&TPaldrixDownloadEntries::PALDRIX_GetQuatusVersion>() : 0.0;
}

bool TDownload::JtagDownload(const std::string& path, int32_t number1, bool flag1, int32_t number2,
                             int32_t number3, bool flag2, bool flag3)
{
    if (!Library.IsLoaded())
        return false;
    return DownloadSucceeded(Library.Call<&TPaldrixDownloadEntries::PALDRIX_JtagDownload>(
        path.c_str(), number1, flag1, number2, number3, flag2, flag3));
}
