/*
 * Pictures of the screen as the operator sees it: whatever is on top is what the picture shows,
 * title bar and all, which is why the e2e tests run one at a time. Saved as PNG, compressed by
 * zlib; the chunks around it are a few lines of our own.
 */
#pragma once

#include <windows.h>

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

// A rectangle in screen coordinates; throws Failure.
Image CaptureScreen(const RECT& rect);

// The picture as a PNG file's bytes: 8-bit RGB, no interlace.
std::string EncodePng(const Image& image);

// "RRGGBB" both ways; false for anything else.
bool ParseColor(const std::string& text, uint32_t& colour);
std::string ColorText(uint32_t colour);

// Largest difference of the three channels.
int ColorDistance(uint32_t a, uint32_t b);
