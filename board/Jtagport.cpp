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

namespace {

constexpr char JTAG_DLL_NAME[] = "PALDRIX_JTAG.DLL";
constexpr char QUARTUS_KEY[] = "SOFTWARE\\Altera Corporation\\Quartus";
constexpr char QUARTUS_VALUE[] = "Quartus Install Directory";
constexpr char QUARTUS_BIN[] = "\\bin";
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
    std::string path = ExeFolder() + JTAG_DLL_NAME;
    switch (Library.Load(path)) {
    case TPaldrixJtagLibrary::TLoad::NoModule:
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to load dll - " + path);
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
    // Nothing that goes wrong while switching folders may keep the executable's folder from
    // being current again below.
    try {
        SwitchDirectory(true);
        PortHandle = Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagOpen>(PortIndex, PortName.c_str());
        SwitchDirectory(false);
    } catch (...) {
        Trace("switching folders around the JTAG open failed");
    }
    SwitchDirectory(false);
    return PortHandle != 0;
}

void TJtagPort::Close()
{
    if (PortHandle == 0)
        return;
    if (Library.IsLoaded())
        Library.Call<&TPaldrixJtagEntries::PALDRIX_JtagClose>(PortHandle);
    PortHandle = 0;
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
                Trace("JTAG read claimed %d of %d bytes; taken as none", arrived, wanted);
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

void TJtagPort::SwitchDirectory(bool toQuartus)
{
    std::string folder = toQuartus ? ReadMachineString(QUARTUS_KEY, QUARTUS_VALUE) + QUARTUS_BIN : ExeFolder();
    if (!folder.empty())
        SetCurrentDirectoryA(folder.c_str());
}
