/*
 * The download of the test configuration that fits the detected model, through the maker's
 * download library. The library is loaded for this one download and let go afterwards, with a
 * fixed wait before and after it.
 */
#include "app/FormMain.h"

#include "base/Assert.h"
#include "base/Box.h"
#include "base/Paths.h"
#include "base/SessionEnd.h"
#include "base/Trace.h"
#include "board/Download.h"

#include <cstdio>

namespace {

constexpr char ASSERT_UNIT[] = "UnitMain";

constexpr char DOWNLOAD_TOOL_MISSING[] = "Download tool not found.";
constexpr char QUARTUS_MISSING[] = "Please make sure Quartus is installed!";
constexpr char STATUS_DOWNLOAD_FAILED[] = "Failed to download .sof";
constexpr DWORD SETTLE_MS = 1000;
// The download library's first number argument; what it selects is the library's business,
// and every download passes the same.
constexpr int32_t DOWNLOAD_NUMBER = 80000;

} // namespace

bool TFormMain::DownloadSof(BoardType BoardType)
{
    // Only the four models have a configuration; any other value is a caller's mistake and
    // must not go on to a file name that does not exist.
    if (!SofFileOf(BoardType))
        BoardType = BOARD_UNKNOWN;
    KV7_ASSERT(BoardType != BOARD_UNKNOWN);

    auto download = std::make_unique<TDownload>();
    TSessionEndRelease freeAtSessionEnd([&download] { download.reset(); });
    WaitMs(SETTLE_MS);
    if (!download->IsLoaded()) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, DOWNLOAD_TOOL_MISSING);
        return false;
    }
    if (download->QuartusVersion() == 0.0)
        ShowBox(BoxKind::Warning, BoxButtons::Ok, QUARTUS_MISSING);

    char status[64];
    std::snprintf(status, sizeof status, "Download .sof (%s)", BoardTypeLabel(BoardType));
    ShowStatus(status, COLOR_BLUE);
    // The library runs from the folder where the configurations and the maker's libraries lie.
    SetCurrentDirectoryW(ExeFolderW().c_str());
    // The library takes the configuration's path in the ANSI code page; a folder that has no
    // spelling there (nor a short name) cannot be named to it at all.
    const TSpelledPath folder = ExeFolderSpelled();
    bool ok = false;
    if (folder.Failure.empty())
        ok = download->JtagDownload(folder.Text + SofFileOf(BoardType), DOWNLOAD_NUMBER, false, 0, 0, false, true);
    else
        TraceFailure("configuration path has no spelling the download library can take: %s: %s",
              Readable(ExeFolderW()).c_str(), folder.Failure.c_str());
    if (!ok)
        ShowStatus(STATUS_DOWNLOAD_FAILED, COLOR_RED);
    download.reset();
    WaitMs(SETTLE_MS);
    return ok;
}
