#include "Fonts.h"

#include "MonitorDpi.h"

#include "base/DcGuards.h"

#include <iterator>

namespace {

constexpr int FORM_FONT_PIXELS = 19;

// The window's face first (標楷體, also known by its English name), then regular-script faces
// that free systems ship, then a serif that every system has.
constexpr const wchar_t* FORM_FACES[] = {L"標楷體", L"DFKai-SB", L"AR PL UKai TW",
                                         L"AR PL UKai CN", L"Times New Roman"};

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const wchar_t* face)
{
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    TScreenDc screen;
    EnumFontFamiliesExW(screen.Get(), &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

const wchar_t* FormFace()
{
    for (const wchar_t* face : FORM_FACES)
        if (FaceInstalled(face))
            return face;
    return FORM_FACES[std::size(FORM_FACES) - 1];
}

} // namespace

UniqueFont CreateFormFont(int dpi)
{
    LOGFONTW font{};
    font.lfHeight = -ScaleLength(FORM_FONT_PIXELS, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(font.lfFaceName, FormFace(), LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

std::string FontFaceOf(HFONT font)
{
    TScreenDc screen;
    TSelectedObject selected(screen.Get(), font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(screen.Get(), LF_FACESIZE, face);
    return face;
}

UniqueFont CreateArialFont(int pixels)
{
    return UniqueFont(CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "Arial"));
}

UniqueFont CreateStatusFont(int dpi)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return UniqueFont(CreateFontA(-ScaleLength(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg"));
    // The system's metrics are at the system's DPI, which a monitor's may differ from.
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, SystemDpi());
    return UniqueFont(CreateFontIndirectA(&metrics.lfStatusFont));
}
