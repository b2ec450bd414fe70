// Reads a window's pixels off the screen surface (frame included or client
// only) and saves them as a 24-bit BMP.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace guitest {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    bool Contains(COLORREF colour, RECT area) const;
    bool SameAs(const Image& other) const { return width == other.width && height == other.height && pixels == other.pixels; }
};

Image CaptureWindow(HWND window, bool clientOnly);
// The given client rectangle of a window.
Image CaptureClientRect(HWND window, RECT area);
// Pixels of a memory drawing of the given size, white to start with.
Image RenderOffscreen(int width, int height, void (*draw)(HDC, void*), void* context);
bool SaveBmp(const Image& image, const std::string& path);
// Captures and saves in one step.
bool CaptureWindowToBmp(HWND window, const std::string& path);

}  // namespace guitest
