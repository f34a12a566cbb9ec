/*
 * Real input, the way an operator's hand makes it: mouse buttons and keys go through SendInput
 * into the system's input queue, so they reach the program as its own hardware input would,
 * in order with everything else, and wait there while the program does not read its queue.
 * Posted messages would skip that queue and the system's routing of input to windows.
 */
#pragma once

#include "Deadline.h"

#include <windows.h>

#include <string>

// Moves the pointer to a screen point and waits until it stays there; throws Failure. The
// window under it hears of it through the system's own input path, as from a hand on the mouse.
void MoveMouse(POINT screen, const Deadline& deadline);

// A left click at a screen point: the pointer moves there and settles, then the button goes
// down and up. Throws Failure when the system does not take the input.
void ClickAt(POINT screen, const Deadline& deadline);

// A key combination such as "alt+f4", "space" or "enter": the keys go down in order and come
// up in reverse. Throws Failure for a name it does not know or input the system refuses.
void PressKeys(const std::string& combination);

POINT CloseBoxCentre(HWND window);
