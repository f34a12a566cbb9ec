// A small program that runs one board-link class from whatever folder it was copied into, so
// that tests can give it a missing or incomplete maker library beside it. It prints every
// box it is shown and what the class reported, one fact per line, and ends with the exit code
// the class left it (3 after a failed assertion).
//
//   board_probe board | download | assert-reply-buffer | assert-payload-length
#include "base/Box.h"
#include "base/Paths.h"
#include "board/Board.h"
#include "board/Download.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void ConnectAndExchange(uint8_t* reply, const uint8_t* payload, uint32_t payloadLength)
{
    TBoard board;
    std::string error;
    Say("connect " + std::to_string(board.Connect(error, 0)));
    board.Exchange(CMD_BOARD_NAME, reply, BOARD_NAME_REPLY_LEN, payload, payloadLength, 3000);
    Say("exchange returned");
}

} // namespace

int main(int argc, char** argv)
{
    SetBoxHook([](const TBoxRequest& box) {
        Say("box " + box.Caption + " " + (box.Buttons == BoxButtons::Ok ? "OK" : "YesNo") + " " + box.Text);
        return BoxAnswer::Ok;
    });
    std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "board") {
        TBoard board;
        std::string error = "untouched";
        Say("connect " + std::to_string(board.Connect(error, 0)));
        Say("error " + error);
    } else if (scenario == "download") {
        TDownload download;
        Say("loaded " + std::to_string(download.IsLoaded()));
        Say("version " + std::to_string(download.QuartusVersion()));
        std::string sof = ExeFolder() + "KV7_MassProduction_340.sof";
        Say("download " + std::to_string(download.JtagDownload(sof, 80000, false, 0, 0, false, true)));
    } else if (scenario == "assert-reply-buffer") {
        ConnectAndExchange(nullptr, nullptr, 0);
    } else if (scenario == "assert-payload-length") {
        uint8_t reply[BOARD_NAME_REPLY_LEN];
        std::vector<uint8_t> payload(PKT_PC2NIOS_MAX_PL_LEN + 1, 0);
        ConnectAndExchange(reply, payload.data(), static_cast<uint32_t>(payload.size()));
    } else {
        Say("unknown scenario " + scenario);
        return 2;
    }
    return 0;
}
