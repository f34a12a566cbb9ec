#include "RunStop.h"

namespace {

bool StopRequested = false;

} // namespace

void RequestRunStop() { StopRequested = true; }

void ClearRunStop() { StopRequested = false; }

bool RunStopRequested() { return StopRequested; }

void ThrowIfRunStopped()
{
    if (StopRequested)
        throw TRunStopped{};
}
