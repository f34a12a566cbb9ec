/*
 * The JTAG library is closed, so what it answers is checked before it is trusted: a read
 * that claims fewer than 0 or more than the asked-for bytes is taken as a read of nothing.
 */
#include "board/Jtagport.h"

#include "base/Box.h"
#include "base/Paths.h"
#include "base/Registry.h"
#include "base/Trace.h"

#include <windows.h>

#include <utility>

namespace {

constexpr char JTAG_DLL_NAME[] = "PALDRIX_JTAG.DLL";
constexpr wchar_t QUARTUS_BIN[] = L"\\bin";
constexpr int32_t DRAIN_CHUNK = 512;
constexpr uint32_t DRAIN_READ_LIMIT_MS = 10;

} // namespace

TJtagPort::TJtagPort(int32_t portIndex, const std::string& portName) : PortIndex(portIndex), PortName(portName)
{
    LoadDll();
}

TJtagPort::~TJtagPort() { UnloadDll(); }

void TJtagPort::LoadDll()
{
    const std::wstring folder = ExeFolderW();
    switch (Library.Load(folder, JTAG_DLL_NAME)) {
    case TPaldrixJtagLibrary::TLoad::NoModule:
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to load dll - " + Readable(folder) + JTAG_DLL_NAME);
        break;
    case TPaldrixJtagLibrary::TLoad::EntryMissing:
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to find some API");
        break;
    case TPaldrixJtagLibrary::TLoad::Loaded:
        break;
    }
}

void TJtagPort::UnloadDll() { Library.Unload(); }

bool TJtagPort::Open()
{
    if (!Library.IsLoaded())
        return false;
    Close();
    // Nothing that goes wrong while switching folders or inside the library's open may keep
    // the executable's folder from being current again below. A fault inside the open has let
    // the library go: the port stays closed.
    try {
        SwitchDirectory(true);
        PortHandle = Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagOpen>(PortIndex, PortName.c_str());
        SwitchDirectory(false);
    } catch (const TLibraryFault& fault) {
        TraceFailure("JTAG open: %s", fault.what());
    } catch (...) {
        TraceFailure("switching folders around the JTAG open failed");
    }
    SwitchDirectory(false);
    return PortHandle != 0;
}

void TJtagPort::Close()
{
    if (PortHandle == 0)
        return;
    // Closed from here on, even when the library faults in its close.
    const uint32_t port = std::exchange(PortHandle, 0);
    if (Library.IsLoaded())
        Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagClose>(port);
}

bool TJtagPort::IsOpen() const { return Library.IsLoaded() && PortHandle != 0; }

bool TJtagPort::Write(const uint8_t* data, int32_t count)
{
    return IsOpen() && Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagWrite>(PortHandle, data, count) != 0;
}

int32_t TJtagPort::Read(uint8_t* buffer, int32_t count, uint32_t limitMs)
{
    if (!IsOpen())
        return 0;
    DWORD start = GetTickCount();
    int32_t got = 0;
    bool claimTraced = false;
    while (got < count) {
        int32_t wanted = count - got;
        int32_t arrived = Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagRead>(PortHandle, buffer + got, wanted);
        if (arrived < 0 || arrived > wanted) {
            if (!claimTraced)
                TraceFailure("JTAG read claimed %d of %d bytes; taken as none", arrived, wanted);
            claimTraced = true;
            arrived = 0;
        }
        got += arrived;
        if (GetTickCount() - start >= limitMs)
            break;
    }
    return got;
}

void TJtagPort::Drain(uint32_t limitMs)
{
    DWORD start = GetTickCount();
    uint8_t scratch[DRAIN_CHUNK];
    int32_t last = Read(scratch, 1, 0);
    while (last > 0 && GetTickCount() - start < limitMs)
        last = Read(scratch, DRAIN_CHUNK, DRAIN_READ_LIMIT_MS);
}

// Towards Quartus the folder is "\bin" alone when Quartus is not registered; changing to it
// fails, and the folder stays as it was.
void TJtagPort::SwitchDirectory(bool toQuartus)
{
    if (toQuartus) {
        SetCurrentDirectoryW((QuartusInstallFolder() + QUARTUS_BIN).c_str());
        return;
    }
    const std::wstring folder = ExeFolderW();
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
}
