/*
 * The fonts of the main window. The window font's face is a traditional Chinese regular-script
 * face that an English or simplified-Chinese system may lack; where it is missing a face of the
 * same script style is used, and failing that a plain serif, so the buttons stay readable.
 */
#pragma once

#include "base/Handles.h"

#include <string>

// The window's own font, 19 pixels at 96 dpi, ANSI character set, at the layout's DPI.
UniqueFont CreateFormFont(int dpi);

// The face the window font really got, for the trace.
std::string FontFaceOf(HFONT font);

// Arial at the given character height in pixels, for the error heading and list.
UniqueFont CreateArialFont(int pixels);

// The system's status-bar font, at the layout's DPI.
UniqueFont CreateStatusFont(int dpi);
