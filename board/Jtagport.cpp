/*
 * The JTAG library is closed, so what it answers is checked before it is trusted: a read
 * that claims fewer than 0 or more than the asked-for bytes is taken as a read of nothing.
 */
#include "board/Jtagport.h"

#include "base/Box.h"
#include "base/Paths.h"
#include "base/Registry.h"
#include "base/Trace.h"
#include "board/EntryPoint.h"

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
    Library.Reset(LoadLibraryA(path.c_str()));
    if (!Library) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to load dll - " + path);
        return;
    }
    bool found = ResolveEntry(Library.Get(), "PALDRIX_JtagOpen", JtagOpen);
    found &= ResolveEntry(Library.Get(), "PALDRIX_JtagClose", JtagClose);
    found &= ResolveEntry(Library.Get(), "PALDRIX_JtagWrite", JtagWrite);
    found &= ResolveEntry(Library.Get(), "PALDRIX_JtagRead", JtagRead);
    if (!found) {
        ShowBox(BoxKind::Error, BoxButtons::Ok, "fail to find some API");
        Library.Reset();
    }
}

void TJtagPort::UnloadDll() { Library.Reset(); }

bool TJtagPort::Open()
{
    if (!Library || !JtagOpen)
        return false;
    Close();
    // Nothing that goes wrong while switching folders may keep the executable's folder from
    // being current again below.
    try {
        SwitchDirectory(true);
        PortHandle = JtagOpen(PortIndex, PortName.c_str());
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
    if (JtagClose)
        JtagClose(PortHandle);
    PortHandle = 0;
}

bool TJtagPort::IsOpen() const { return Library && PortHandle != 0; }

bool TJtagPort::Write(const uint8_t* data, int32_t count)
{
    return PortHandle != 0 && JtagWrite && JtagWrite(PortHandle, data, count) != 0;
}

int32_t TJtagPort::Read(uint8_t* buffer, int32_t count, uint32_t limitMs)
{
    if (PortHandle == 0 || !JtagRead)
        return 0;
    DWORD start = GetTickCount();
    int32_t got = 0;
    bool claimTraced = false;
    while (got < count) {
        int32_t wanted = count - got;
        int32_t arrived = JtagRead(PortHandle, buffer + got, wanted);
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
