/*
 * The names by which the main window and its controls can be found from outside: window
 * class names, control IDs and the caption. The UI-automation driver and the end-to-end tests
 * include this header, so it holds nothing but these constants and needs no windows.h.
 */
#pragma once

#include "KV7Version.h"

// Window class of the main window, named after the form so automation tools can find it.
inline constexpr char FORM_MAIN_CLASS[] = "TFormMain";
inline constexpr char FORM_MAIN_CAPTION[] = "Paldrix KV7 ORBA Inspection Tool V" KV7_VERSION_TEXT;

// Control IDs (GetDlgItem on the main window). The controls are real child windows of the
// standard classes named beside each one.
inline constexpr int ID_BUTTON_EXIT = 101;   // BUTTON, "Exit"
inline constexpr int ID_BUTTON_ORBA_A = 102; // BUTTON, "Test ORBA-A"
inline constexpr int ID_BUTTON_ORBA_B = 103; // BUTTON, "Test ORBA-B"
inline constexpr int ID_BUTTON_ORBA_C = 104; // BUTTON, "Test ORBA-C"
inline constexpr int ID_BUTTON_ORBA_D = 105; // BUTTON, "Test ORBA-D"
inline constexpr int ID_MEMO_ERROR = 106;    // EDIT, read-only, multi-line: the faulty pairs
inline constexpr int ID_LABEL_RESULT = 107;  // STATIC: "PASS", "NG", "Inspecting..." or empty
inline constexpr int ID_LABEL_ERROR = 108;   // STATIC: "Invalid Lookback Pin:"
inline constexpr int ID_STATUS_BAR = 109;    // msctls_statusbar32: two owner-drawn panels

// The connector buttons' IDs in connector order A, B, C, D (index 0..3).
inline constexpr int ID_BUTTON_ORBA[4] = {ID_BUTTON_ORBA_A, ID_BUTTON_ORBA_B, ID_BUTTON_ORBA_C,
                                          ID_BUTTON_ORBA_D};

// The status bar's panels keep no readable text (they are owner-drawn); their content is in
// the diagnostic trace ("status ..." and "progress ..." lines).
