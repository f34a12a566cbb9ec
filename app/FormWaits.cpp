/*
 * The main window's waits and its speed measurement. WaitMs keeps the window alive while the
 * run waits on the user-interface thread; CalibrateSpeed times a fixed loop once at start-up
 * so the progress estimate fits the machine.
 */
#include "FormMain.h"

#include "ProgressMath.h"
#include "base/MessageWait.h"
#include "base/Trace.h"

void TFormMain::WaitMs(DWORD milliseconds) { WaitWithMessages(milliseconds); }

float TFormMain::CalibrateSpeed()
{
    DWORD start = GetTickCount();
    // volatile: every step is a real store, so no optimiser can shorten the loop.
    volatile uint32_t counter = 0;
    while (counter < CALIBRATION_COUNT)
        counter = counter + 1;
    DWORD elapsed = GetTickCount() - start;
    float factor = CalibrationFactor(elapsed);
    Trace("speed factor %.3f (%lu ms)", static_cast<double>(factor), static_cast<unsigned long>(elapsed));
    return factor;
}
