#include "Image.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

// Deflate with the fixed Huffman codes and a greedy LZ77 search over a 32 KiB window: a
// screenshot is mostly flat colour and rows that repeat the row above, which that alone
// shrinks to a fifth, without a table of codes to build or a library to carry.
constexpr size_t WINDOW = 32768;
constexpr size_t MIN_MATCH = 3;
constexpr size_t MAX_MATCH = 258;
constexpr int HASH_BITS = 15;
constexpr int MAX_CHAIN = 32; // candidates tried per position: enough for flat pictures
constexpr uint16_t LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                        33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Deflate's bit order: values least significant bit first, Huffman codes most significant first.
class TBitWriter {
public:
    explicit TBitWriter(std::string& out) : Out(out) {}
    void Bits(uint32_t value, int count)
    {
        Pending |= value << Used;
        Used += count;
        while (Used >= 8) {
            Out += static_cast<char>(Pending & 0xFF);
            Pending >>= 8;
            Used -= 8;
        }
    }
    void Code(uint32_t code, int length)
    {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Bits(reversed, length);
    }
    void Flush()
    {
        if (Used > 0)
            Bits(0, 8 - Used);
    }

private:
    std::string& Out;
    uint32_t Pending = 0;
    int Used = 0;
};

void PutLiteralOrLength(TBitWriter& bits, unsigned symbol)
{
    if (symbol < 144)
        bits.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.Code(symbol - 256, 7);
    else
        bits.Code(0xC0 + symbol - 280, 8);
}

void PutMatch(TBitWriter& bits, size_t length, size_t distance)
{
    int code = 28;
    while (LENGTH_BASE[code] > length)
        --code;
    PutLiteralOrLength(bits, 257 + code);
    bits.Bits(static_cast<uint32_t>(length - LENGTH_BASE[code]), LENGTH_EXTRA[code]);
    code = 29;
    while (DISTANCE_BASE[code] > distance)
        --code;
    bits.Code(code, 5);
    bits.Bits(static_cast<uint32_t>(distance - DISTANCE_BASE[code]), DISTANCE_EXTRA[code]);
}

uint32_t Hash3(const uint8_t* p)
{
    return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - HASH_BITS);
}

// One final block of fixed codes.
std::string Deflate(const std::string& data)
{
    const uint8_t* in = reinterpret_cast<const uint8_t*>(data.data());
    size_t size = data.size();
    std::vector<int64_t> head(size_t(1) << HASH_BITS, -1);
    std::vector<int64_t> previous(WINDOW, -1);
    std::string out;
    TBitWriter bits(out);
    bits.Bits(1, 1); // last block
    bits.Bits(1, 2); // fixed codes
    auto insert = [&](size_t at) {
        if (at + MIN_MATCH > size)
            return;
        uint32_t h = Hash3(in + at);
        previous[at % WINDOW] = head[h];
        head[h] = static_cast<int64_t>(at);
    };
    size_t at = 0;
    while (at < size) {
        size_t bestLength = 0, bestDistance = 0;
        if (at + MIN_MATCH <= size) {
            int64_t candidate = head[Hash3(in + at)];
            size_t most = size - at < MAX_MATCH ? size - at : MAX_MATCH;
            for (int tries = 0; candidate >= 0 && at - candidate <= WINDOW - 1 && tries < MAX_CHAIN; ++tries) {
                size_t length = 0;
                while (length < most && in[candidate + length] == in[at + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = at - static_cast<size_t>(candidate);
                    if (length == most)
                        break;
                }
                candidate = previous[candidate % WINDOW];
            }
        }
        if (bestLength >= MIN_MATCH) {
            PutMatch(bits, bestLength, bestDistance);
            for (size_t i = 0; i < bestLength; ++i)
                insert(at + i);
            at += bestLength;
        } else {
            PutLiteralOrLength(bits, in[at]);
            insert(at);
            ++at;
        }
    }
    PutLiteralOrLength(bits, 256);
    bits.Flush();
    return out;
}

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

    std::string zlib = "\x78\x01" + Deflate(raw);
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
