#include "Picture.h"

#include "Session.h"

#include "base/DcGuards.h"
#include "base/Handles.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

void PutBig32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift);
}

// Length, type, data, and the CRC of type and data.
void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBig32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.append(type, 4);
    png += data;
    PutBig32(png, crc32(0, reinterpret_cast<const Bytef*>(png.data() + start), static_cast<uInt>(png.size() - start)));
}

} // namespace

Image CaptureScreen(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        throw Failure("nothing to capture: empty rectangle");
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
    if (!screen.Get() || !memory || !bitmap)
        throw Failure("could not set up the capture");
    {
        TSelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT))
            throw Failure("BitBlt from the screen failed");
        GdiFlush();
    }
    Image image;
    image.Width = width;
    image.Height = height;
    image.Rgb.resize(static_cast<size_t>(width) * height * 3);
    const uint8_t* source = static_cast<const uint8_t*>(bits); // blue, green, red, unused
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        image.Rgb[i * 3 + 0] = source[i * 4 + 2];
        image.Rgb[i * 3 + 1] = source[i * 4 + 1];
        image.Rgb[i * 3 + 2] = source[i * 4 + 0];
    }
    return image;
}

std::string EncodePng(const Image& image)
{
    // Each row: filter type 0 (none), then the row's bytes.
    const size_t rowBytes = static_cast<size_t>(image.Width) * 3;
    std::string rows;
    for (int y = 0; y < image.Height; ++y) {
        rows += '\0';
        rows.append(reinterpret_cast<const char*>(&image.Rgb[y * rowBytes]), rowBytes);
    }
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::string compressed(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(rows.data()),
                 static_cast<uLong>(rows.size())) != Z_OK)
        throw Failure("zlib could not compress the picture");
    compressed.resize(size);

    std::string header;
    PutBig32(header, static_cast<uint32_t>(image.Width));
    PutBig32(header, static_cast<uint32_t>(image.Height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, truecolour, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", "");
    return png;
}

bool ParseColor(const std::string& text, uint32_t& colour)
{
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), hex))
        return false;
    colour = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

std::string ColorText(uint32_t colour)
{
    return Format("%06X", static_cast<unsigned>(colour & 0xFFFFFF));
}

int ColorDistance(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        most = d > most ? d : most;
    }
    return most;
}
