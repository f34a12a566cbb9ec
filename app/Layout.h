/*
 * The main window's layout: where every control and every outline sits, in client pixels at
 * 96 dpi (on a scaled monitor the window scales them, Scaling.h), and the colors the window
 * uses. One table, so the window
 * part, the painter and the tests read the same numbers. No windows.h: the driver may use it to
 * find points to move the mouse to.
 */
#pragma once

struct TBounds {
    int Left;
    int Top;
    int Width;
    int Height;

    constexpr int Right() const { return Left + Width; }
    constexpr int Bottom() const { return Top + Height; }
    constexpr bool Contains(int x, int y) const
    {
        return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
    }
};

inline constexpr int CLIENT_WIDTH = 700;
inline constexpr int CLIENT_HEIGHT = 600;

inline constexpr TBounds IMAGE_KV7 = {0, 0, 508, 580};

// Hover outlines, one per connector, in connector order A, B, C, D.
inline constexpr TBounds SHAPE_HOVER[4] = {
    {360, 40, 46, 233},  // ShapeA
    {360, 320, 46, 233}, // ShapeB
    {104, 328, 46, 233}, // ShapeC
    {104, 40, 46, 233},  // ShapeD
};
inline constexpr const char* SHAPE_HOVER_NAME[4] = {"ShapeA", "ShapeB", "ShapeC", "ShapeD"};

// Result outlines, 8 pixels in from their hover outline's left and top edges.
inline constexpr TBounds SHAPE_RESULT[4] = {
    {368, 48, 28, 217},  // ShapeOrbaA
    {368, 328, 28, 217}, // ShapeOrbaB
    {112, 336, 28, 217}, // ShapeOrbaC
    {112, 48, 28, 217},  // ShapeOrbaD
};
inline constexpr const char* SHAPE_RESULT_NAME[4] = {"ShapeOrbaA", "ShapeOrbaB", "ShapeOrbaC",
                                                     "ShapeOrbaD"};

// Painting order of the outlines, later ones on top: C, D, B, A, then OrbaD, OrbaA, OrbaB,
// OrbaC. Each entry is a connector index; hover outlines first, then the result outlines.
inline constexpr int HOVER_Z_ORDER[4] = {2, 3, 1, 0};
inline constexpr int RESULT_Z_ORDER[4] = {3, 0, 1, 2};

inline constexpr int SHAPE_PEN_WIDTH = 3;

inline constexpr TBounds LABEL_RESULT = {528, 488, 110, 19};
inline constexpr TBounds LABEL_ERROR = {528, 256, 122, 16};
inline constexpr TBounds MEMO_ERROR = {528, 272, 153, 201};
inline constexpr TBounds BUTTON_ORBA[4] = {
    {526, 35, 160, 40},
    {526, 91, 160, 40},
    {526, 147, 160, 40},
    {526, 203, 160, 40},
};
inline constexpr TBounds BUTTON_EXIT = {526, 523, 160, 40};
inline constexpr TBounds STATUS_BAR = {0, 581, 700, 19};

// Panel 0 ends here; panel 1 runs from here to the bar's right end.
inline constexpr int STATUS_PANEL0_WIDTH = 506;

inline constexpr unsigned PROGRESS_INTERVAL_MS = 100;

// Colors as 0x00BBGGRR values, the layout of a Windows COLORREF. They are values, not the
// system color indices that windows.h names COLOR_WINDOW and the like for GetSysColor.
constexpr unsigned long Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
inline constexpr unsigned long COLOR_BLACK = Rgb(0x00, 0x00, 0x00);
inline constexpr unsigned long COLOR_BLUE = Rgb(0x00, 0x00, 0xFF);
inline constexpr unsigned long COLOR_WHITE = Rgb(0xFF, 0xFF, 0xFF);
inline constexpr unsigned long COLOR_RED = Rgb(0xFF, 0x00, 0x00);
inline constexpr unsigned long COLOR_GREEN = Rgb(0x00, 0x80, 0x00);
inline constexpr unsigned long COLOR_YELLOW = Rgb(0xFF, 0xFF, 0x00);
inline constexpr unsigned long COLOR_AQUA = Rgb(0x00, 0xFF, 0xFF);
inline constexpr unsigned long COLOR_MAROON = Rgb(0x80, 0x00, 0x00);

// Texts the window part shows itself.
inline constexpr char BUTTON_ORBA_CAPTION[4][12] = {"Test ORBA-A", "Test ORBA-B", "Test ORBA-C",
                                                    "Test ORBA-D"};
inline constexpr char BUTTON_EXIT_CAPTION[] = "Exit";
inline constexpr char LABEL_ERROR_CAPTION[] = "Invalid Lookback Pin:";
inline constexpr char STATUS_READY[] = "Ready";
// The status of a run that ended with no verdict (an error, or the session's end).
inline constexpr char STATUS_STOPPED[] = "Inspection stopped";
inline constexpr char CLOSE_QUESTION[] = "Process is not terminated. Are you sure want to quit?";
