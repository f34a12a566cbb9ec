/*
 * The two board steps that the run and bring-up share: a new board connected on the one port,
 * and the check that the firmware on the held board is the test firmware, by the name it
 * reports. A run reuses a held board only while this check passes.
 */
#include "app/FormMain.h"

namespace {

constexpr char READY_BOARD_NAME[] = "KV7_MP";
constexpr int32_t PORT_INDEX = 0;

} // namespace

bool TFormMain::ConnectNewBoard()
{
    CurrentBoard = std::make_unique<TBoard>();
    // The board's own failure text is not shown: each caller reports a failed connection its
    // own way, or not at all.
    std::string error;
    return CurrentBoard->Connect(error, PORT_INDEX);
}

TFormMain::TBoardCheck TFormMain::CheckBoardName()
{
    TBoardCheck check;
    check.Name = CurrentBoard->QueryBoardName();
    check.Ready = check.Name == READY_BOARD_NAME;
    return check;
}
