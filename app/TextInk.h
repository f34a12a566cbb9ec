/*
 * The colours of the window's own texts: the status text, the result label, the list's
 * heading and the list of faulty pin pairs. They are drawn in the window's fixed colours on
 * system background colours; in a high-contrast theme those backgrounds turn black or cream
 * and the fixed blue, red, green and maroon could no longer be read (down to 1.6:1). While
 * high contrast is on, each text takes the theme's text colour for the background it sits on
 * (the pairs the theme makes readable), and the verdict is told by the text alone. No
 * windows.h: the theme's colours and its switch come in as arguments, since no test system
 * can be put into a high-contrast theme.
 */
#pragma once

// The system colours the texts sit on and are drawn in.
enum class TSchemeSlot { Window, WindowText, ButtonFace, ButtonText, InactiveCaption, Count };

struct TScheme {
    bool HighContrast = false;
    // 0x00BBGGRR values by slot.
    unsigned long Colors[static_cast<int>(TSchemeSlot::Count)] = {};

    unsigned long operator[](TSchemeSlot slot) const { return Colors[static_cast<int>(slot)]; }
};

// Where a text is drawn: the status bar's panel, the window's own surface (the labels), the list.
enum class TTextPlace { StatusPanel, Surface, List };

struct TInk {
    unsigned long Text;
    TSchemeSlot Background;
};

// The background slot of a place; the window's surface is painted in the Surface one.
TSchemeSlot BackgroundOf(TTextPlace place, bool highContrast);

// A text of the window in its own colour `color`, at that place, in that scheme.
TInk InkOf(TTextPlace place, unsigned long color, const TScheme& scheme);
