/*
 * Painting of the status bar's two owner-drawn panels: the colored status text, and the
 * progress bar the window draws itself from the panel's percentage text. Each function takes
 * the DC, the panel's rectangle and what to show, so it can be drawn into any DC and checked
 * pixel by pixel.
 */
#pragma once

#include <windows.h>

#include <string>

// The status text in its colour at the panel's top-left corner on the background colour (the
// bar's own button face), which fills the whole panel.
void PaintStatusPanel(HDC dc, const RECT& panel, const std::string& text, COLORREF color, COLORREF background,
                      HFONT font);

// The percentage as a blue bar from the left with its label centred in the whole panel, white
// over the bar and blue beside it. A text that is not a number, or 0, shows the bar's own
// button-face colour over the whole panel.
void PaintProgressPanel(HDC dc, const RECT& panel, const std::string& text, HFONT font);
