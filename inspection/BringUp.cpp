/*
 * Bring-up of a board that does not answer "KV7_MP" yet: find the FPGA model on the JTAG
 * chain, download the test configuration that fits it, connect, and check the name the test
 * firmware reports. Each stage is announced in the status bar; a failure ends in red and
 * leaves no board held, so the next press starts over.
 *
 * Trace lines written here:
 *     first device "<name>": <label>    what chain detection found, and the model it means
 *     no device on the chain
 *     board released                    the held board was disconnected and dropped
 */
#include "app/FormMain.h"

#include "base/Trace.h"
#include "chain/Jtagbus.h"

#include <cstring>

namespace {

constexpr char STATUS_DETECT[] = "Detect FPAG TYPE...";
constexpr char STATUS_NOT_FOUND[] = "Failed to connect FPAG board.";
constexpr char STATUS_UNKNOWN[] = "Unknown FPGA Type";
constexpr char STATUS_CONNECT[] = "Connect FPAG...";
constexpr char STATUS_NO_PORT[] = "Failed to connect FPGA";
constexpr char STATUS_NO_NAME[] = "Unmatched Board Name";
constexpr char STATUS_OTHER_NAME[] = "Failed to connect your board";
constexpr char STATUS_CONNECTED[] = "Connect FPAG successfully";
constexpr int CABLE_INDEX = 0;
// The test firmware is given this long between the connection and the name query.
constexpr DWORD FIRMWARE_START_MS = 3000;

} // namespace

bool TFormMain::BringUpBoard()
{
    ShowStatus(STATUS_DETECT, COLOR_BLUE);
    ReleaseBoard();
    const BoardType type = DetectBoardType();
    if (type == BOARD_NOT_FOUND) {
        ShowStatus(STATUS_NOT_FOUND, COLOR_RED);
        return false;
    }
    if (type == BOARD_UNKNOWN) {
        ShowStatus(STATUS_UNKNOWN, COLOR_RED);
        return false;
    }
    // A run on the smaller model is shorter: it drops the factor 1.7 the other models keep.
    if (type == BOARD_SIII_150)
        ExpectedRunMs = UnscaledRunEstimateMs(SpeedFactor);
    if (!DownloadSof(type))
        return false;

    ShowStatus(STATUS_CONNECT, COLOR_BLUE);
    if (!ConnectNewBoard()) {
        ShowStatus(STATUS_NO_PORT, COLOR_RED);
        ReleaseBoard();
        return false;
    }
    WaitMs(FIRMWARE_START_MS);
    const TBoardCheck check = CheckBoardName();
    if (!check.Ready) {
        ReleaseBoard();
        ShowStatus(check.Name.empty() ? STATUS_NO_NAME : STATUS_OTHER_NAME, COLOR_RED);
        return false;
    }
    ShowStatus(STATUS_CONNECTED, COLOR_GREEN);
    return true;
}

BoardType TFormMain::DetectBoardType()
{
    BoardType result = BOARD_NOT_FOUND;
    auto bus = std::make_unique<TJtagBus>();
    TChainList devices;
    if (bus->DetectChain(devices, CABLE_INDEX) && !devices.empty()) {
        // Only the first device of the chain is the FPGA that counts.
        const char* name = devices.front()->DeviceName;
        std::string_view deviceName(name, strnlen(name, sizeof devices.front()->DeviceName));
        result = BoardTypeOfDevice(deviceName);
        Trace("first device %s: %s", TraceQuote(deviceName).c_str(), BoardTypeLabel(result));
        const char* code = devices.front()->Code;
        PressBoard.Model = {std::string(code, strnlen(code, sizeof devices.front()->Code)), std::string(deviceName),
                            result == BOARD_NOT_FOUND ? "" : BoardTypeLabel(result)};
    } else {
        Trace("no device on the chain");
        PressBoard.Model = {};
    }
    return result;
}

const char* TFormMain::BoardTypeLabel(BoardType type) { return ::BoardTypeLabel(type); }

// The board is dropped however its close ends: a fault inside the library's close goes on to the
// caller (a run's handler, the window's end), with no board left held.
void TFormMain::ReleaseBoard()
{
    if (!CurrentBoard)
        return;
    const std::unique_ptr<TBoard> board = std::move(CurrentBoard);
    if (board->IsConnected())
        board->Disconnect();
    Trace("board released");
}
