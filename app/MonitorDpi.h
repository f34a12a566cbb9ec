/*
 * What the window needs to know of a monitor to fit itself to it: its DPI, its work area and
 * the thickness of a window's frame at a DPI. Windows 7 has one DPI for all monitors (the
 * system's, which a DPI-aware program is told truly); the per-monitor DPI and the frame at
 * any DPI come with Windows 8.1 and 10, so those functions are looked up at run time and the
 * program keeps starting on Windows 7. Wine 8 has them but answers 0 for a monitor's DPI; the
 * system's DPI is then taken, as on Windows 7.
 */
#pragma once

#include "Scaling.h"

#include <windows.h>

// The monitor's DPI as the window will be drawn at on it.
int MonitorDpi(HMONITOR monitor);

// The monitor's work area: the screen without the taskbar and the docked bars.
TBounds WorkAreaOf(HMONITOR monitor);

// What a window of these styles adds around its client area at the DPI.
TFrame FrameAt(DWORD style, DWORD exStyle, int dpi);

// The DPI of the system's metrics and fonts (SystemParametersInfo's answers are at this DPI).
int SystemDpi();
