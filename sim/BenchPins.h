/*
 * The pin pairs of an ORBA connector as the inspection tool reports them: pair i of the
 * loopback reply is shown as pins FIRST-(FIRST+1). The bench keeps its own copy of the table,
 * written from the loopback protocol, so that a mistake in the tool's copy shows up instead of
 * being repeated.
 */
#pragma once

#include <string>

namespace sim {

// The lower pin the tool names for pair 0-65. Pairs 16 and 17 both name pin 51.
int PairFirstPin(int pair);

// "16: 051-052", the text of one entry of the bench window's pair lists.
std::string PairLabel(int pair);

} // namespace sim
