/*
 * Holding one step of the bench (hold = <step>) until a test releases it by naming another step
 * or none. A test that acts "during" a step then acts while the step stands still, instead of
 * racing the bench's clock. Each held step blocks its caller the way the step itself blocks
 * it on a slow desk, and none runs a time-out of the program's meanwhile.
 */
#pragma once

#include "Bench.h"

#include <optional>
#include <string_view>

namespace sim {

// The step a bench value names ("none", "programmer", "download", "open", "name", "loopback").
std::optional<HoldStep> HoldStepNamed(std::string_view value);

// Waits while the bench holds this step, reading the bench file again every few milliseconds,
// and returns the bench as it reads at the release. The journal says "held <step>" at the
// start and "released <step>" at the end, or "hold <step> given up after <n> s" when no one
// released it within a few minutes (a script that died must not hang the bench for good).
// With watchInput the caller is the program's own thread, blocked here: each time clicks or
// keys newly reach its queue the journal says "holding <step>, input arrived: click key", so
// a test knows its real input is in the program's queue before it releases the step.
Bench HoldWhileAsked(const Bench& bench, HoldStep step, bool watchInput);

} // namespace sim
