#include "PaintFlush.h"

#include <windows.h>

namespace {

int PaintBatches = 0;
bool PaintedInBatch = false;

} // namespace

void ShowPaintedNow()
{
    if (PaintBatches > 0) {
        PaintedInBatch = true;
        return;
    }
    constexpr UINT NEVER_POSTED = WM_APP + 0x3FFF;
    MSG none;
    PeekMessageA(&none, nullptr, NEVER_POSTED, NEVER_POSTED, PM_NOREMOVE | PM_NOYIELD);
}

TPaintBatch::TPaintBatch() { ++PaintBatches; }

TPaintBatch::~TPaintBatch()
{
    if (--PaintBatches == 0 && PaintedInBatch) {
        PaintedInBatch = false;
        ShowPaintedNow();
    }
}
