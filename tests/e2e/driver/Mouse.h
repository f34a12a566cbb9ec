/*
 * Moving the mouse pointer the way an operator's hand does, so the program's windows hear of
 * it through the system's own input path.
 */
#pragma once

#include "Deadline.h"

#include <windows.h>

// Moves the pointer to a screen point and waits until it stays there; throws Failure.
void MoveMouse(POINT screen, const Deadline& deadline);
