#include "TextInk.h"

TSchemeSlot BackgroundOf(TTextPlace place, bool highContrast)
{
    switch (place) {
    case TTextPlace::StatusPanel:
        return TSchemeSlot::ButtonFace; // the bar's own colour
    case TTextPlace::Surface:
        // The caption colours of a high-contrast theme are not made for text on a window's
        // surface; its window colours are.
        return highContrast ? TSchemeSlot::Window : TSchemeSlot::InactiveCaption;
    case TTextPlace::List:
        break;
    }
    return TSchemeSlot::Window;
}

TInk InkOf(TTextPlace place, unsigned long color, const TScheme& scheme)
{
    const TSchemeSlot background = BackgroundOf(place, scheme.HighContrast);
    if (!scheme.HighContrast)
        return {color, background};
    const TSchemeSlot text = background == TSchemeSlot::ButtonFace ? TSchemeSlot::ButtonText : TSchemeSlot::WindowText;
    return {scheme[text], background};
}
