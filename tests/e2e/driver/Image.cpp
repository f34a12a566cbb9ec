#include "Image.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t STORED_BLOCK_MAX = 65535;

void PutBig32(std::string& out, uint32_t value)
{
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void PutLittle(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBig32(out, Crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size)
{
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string EncodePng(const Image& image)
{
    // Each row: filter type 0 (none), then the row's bytes.
    std::string raw;
    size_t rowBytes = static_cast<size_t>(image.Width) * 3;
    raw.reserve((rowBytes + 1) * image.Height);
    for (int y = 0; y < image.Height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(&image.Rgb[y * rowBytes]), rowBytes);
    }

    std::string zlib = "\x78\x01";
    size_t offset = 0;
    do {
        size_t length = raw.size() - offset < STORED_BLOCK_MAX ? raw.size() - offset : STORED_BLOCK_MAX;
        bool last = offset + length == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        PutLittle(zlib, static_cast<uint32_t>(length), 2);
        PutLittle(zlib, static_cast<uint32_t>(~length & 0xFFFF), 2);
        zlib.append(raw, offset, length);
        offset += length;
    } while (offset < raw.size());
    PutBig32(zlib, Adler32(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));

    std::string header;
    PutBig32(header, static_cast<uint32_t>(image.Width));
    PutBig32(header, static_cast<uint32_t>(image.Height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, truecolour, no interlace

    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", "");
    return png;
}

std::string EncodeBmp(const Image& image)
{
    size_t rowBytes = (static_cast<size_t>(image.Width) * 3 + 3) & ~size_t(3);
    uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * image.Height);
    std::string bmp = "BM";
    PutLittle(bmp, 54 + pixelBytes, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    PutLittle(bmp, 40, 4);
    PutLittle(bmp, static_cast<uint32_t>(image.Width), 4);
    PutLittle(bmp, static_cast<uint32_t>(image.Height), 4); // positive: bottom row first
    PutLittle(bmp, 1, 2);
    PutLittle(bmp, 24, 2);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, pixelBytes, 4);
    PutLittle(bmp, 2835, 4); // 72 dpi
    PutLittle(bmp, 2835, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 0, 4);
    for (int y = image.Height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.Width; ++x) {
            uint32_t p = image.Pixel(x, y);
            row += static_cast<char>(p & 0xFF);
            row += static_cast<char>((p >> 8) & 0xFF);
            row += static_cast<char>(p >> 16);
        }
        row.resize(rowBytes, '\0');
        bmp += row;
    }
    return bmp;
}

bool ParseColor(const std::string& text, uint32_t& colour)
{
    if (text.size() != 6)
        return false;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    colour = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

std::string ColorText(uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

int ColorDistance(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        most = d > most ? d : most;
    }
    return most;
}
