/*
 * Taking pictures of the screen as the operator sees it: whatever is on top is what the
 * picture shows, title bar and all, which is why the e2e tests run one at a time.
 */
#pragma once

#include "Image.h"

#include <windows.h>

#include <string>

// A rectangle in screen coordinates.
bool CaptureScreen(const RECT& rect, Image& image, std::string& error);

// By the file's extension: .png or .bmp.
bool SaveImage(const Image& image, const std::string& path, std::string& error);
