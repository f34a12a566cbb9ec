#include "Capture.h"

#include "base/DcGuards.h"
#include "base/Handles.h"

#include <cstdio>
#include <cstring>

namespace {

bool EndsWith(const std::string& text, const char* tail)
{
    size_t n = std::strlen(tail);
    return text.size() >= n && _stricmp(text.c_str() + text.size() - n, tail) == 0;
}

} // namespace

bool CaptureScreen(const RECT& rect, Image& image, std::string& error)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        error = "nothing to capture: empty rectangle";
        return false;
    }
    TScreenDc screen;
    UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen.Get() || !memory || !bitmap) {
        error = "could not set up the capture";
        return false;
    }
    {
        TSelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT)) {
            error = "BitBlt from the screen failed";
            return false;
        }
        GdiFlush();
    }
    image.Width = width;
    image.Height = height;
    image.Rgb.resize(static_cast<size_t>(width) * height * 3);
    const uint8_t* source = static_cast<const uint8_t*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        image.Rgb[i * 3 + 0] = source[i * 4 + 2];
        image.Rgb[i * 3 + 1] = source[i * 4 + 1];
        image.Rgb[i * 3 + 2] = source[i * 4 + 0];
    }
    return true;
}

bool SaveImage(const Image& image, const std::string& path, std::string& error)
{
    std::string data;
    if (EndsWith(path, ".png")) {
        data = EncodePng(image);
    } else if (EndsWith(path, ".bmp")) {
        data = EncodeBmp(image);
    } else {
        error = "a picture file ends in .png or .bmp: " + path;
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    written = std::fclose(file) == 0 && written;
    if (!written)
        error = "writing " + path + " failed";
    return written;
}
