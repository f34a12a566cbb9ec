/*
 * The loopback test of one connector and the result display: the yellow "Inspecting..." while
 * the board works, then the verdict in the status bar, the result label and the connector's
 * outline, and for NG the faulty pin pairs in the memo and in the outline's hint. A test whose
 * reply never came or could not be trusted is NG with no pairs listed, as none are known.
 */
#include "app/FormMain.h"

#include "base/PaintFlush.h"
#include "inspection/FaultList.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

constexpr char STATUS_LOOPBACK[] = "ORBA loopback inspection...";
constexpr char LABEL_INSPECTING[] = "Inspecting...";
constexpr char LABEL_PASS[] = "PASS";
constexpr char LABEL_NG[] = "NG";

static_assert(LOOPBACK_PAIRS == PAIR_COUNT, "one verdict per pair of the table");

} // namespace

bool TFormMain::TestConnector(int32_t index)
{
    const char letter = static_cast<char>('A' + index);
    char ngText[16];
    std::snprintf(ngText, sizeof ngText, "ORBA-%c NG", letter);
    TShape& outline = ShapeOrba[index];
    MarkShape(outline, true, COLOR_YELLOW);
    LabelResult.SetCaption(LABEL_INSPECTING);
    MarkLabel(LabelResult, true, COLOR_YELLOW);

    bool pass = false;
    if (CurrentBoard) {
        ShowStatus(STATUS_LOOPBACK, COLOR_BLUE);
        uint8_t passed[PAIR_COUNT] = {};
        pass = CurrentBoard->RunLoopback(index, passed);
        if (pass && std::find(std::begin(passed), std::end(passed), 0) != std::end(passed)) {
            pass = false;
            PairTable pairs;
            std::copy(std::begin(PairFirstPin), std::end(PairFirstPin), pairs.begin());
            TFaultList faults = BuildFaultList(pairs, passed);
            MemoError.Clear();
            for (const std::string& line : faults.MemoLines)
                MemoError.AppendLine(line);
            outline.SetHint(faults.Hint);
            PressBoard.FaultyPairs = faults.Pairs;
            MemoError.SetVisible(true);
            MarkLabel(LabelError, true, LabelError.Color);
        }
        CurrentBoard->FlushInput();
    }

    // The verdict in the status bar, the label and the outline reaches the screen in one go.
    TPaintBatch verdictShown;
    if (pass) {
        char passText[16];
        std::snprintf(passText, sizeof passText, "ORBA-%c PASS", letter);
        ShowStatus(passText, COLOR_GREEN);
    } else {
        ShowStatus(ngText, COLOR_RED);
    }
    const COLORREF verdict = pass ? COLOR_GREEN : COLOR_RED;
    LabelResult.SetCaption(pass ? LABEL_PASS : LABEL_NG);
    MarkLabel(LabelResult, true, verdict);
    MarkShape(outline, true, verdict);
    return pass;
}

void TFormMain::ClearResults()
{
    for (TShape& outline : ShapeOrba) {
        MarkShape(outline, false, outline.PenColor);
        outline.SetHint("");
    }
    LabelResult.SetCaption("");
    MemoError.Clear();
    MemoError.SetVisible(false);
    MarkLabel(LabelError, false, LabelError.Color);
}

void TFormMain::MarkShape(TShape& shape, bool visible, COLORREF color)
{
    shape.Set(visible, visible ? color : shape.PenColor);
}

void TFormMain::MarkLabel(TLabel& label, bool visible, COLORREF color) { label.SetState(visible, color); }
