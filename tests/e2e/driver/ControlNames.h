/*
 * The program's names for its controls, so that scripts say ButtonOrbaA instead of a number.
 * The numbers come from the program's own header, so the two cannot drift apart.
 */
#pragma once

#include <string>

// 0 when the name is unknown.
int ControlIdByName(const std::string& name);

// "ButtonOrbaA, ButtonOrbaB, ...", for the message about an unknown name.
std::string KnownControlNames();
