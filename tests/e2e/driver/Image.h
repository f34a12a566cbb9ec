/*
 * A captured picture and its two file formats. PNG is compressed by a small deflate writer of
 * its own (fixed codes, no library to carry): a window's screenshot takes about 260 KB instead
 * of 1.3 MB. Knows nothing of Windows, so it is tested on its own.
 */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb; // top row first, three bytes per pixel: red, green, blue

    // 0xRRGGBB
    uint32_t Pixel(int x, int y) const
    {
        const uint8_t* p = &Rgb[(static_cast<size_t>(y) * Width + x) * 3];
        return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
};

std::string EncodePng(const Image& image);
std::string EncodeBmp(const Image& image);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// "RRGGBB" both ways; false for anything else.
bool ParseColor(const std::string& text, uint32_t& colour);
std::string ColorText(uint32_t colour);

// Largest difference of the three channels.
int ColorDistance(uint32_t a, uint32_t b);
