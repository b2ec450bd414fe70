#include "WindowCapture.h"

#include <fstream>
#include <memory>

namespace guitest {
namespace {

struct DcReleaser {
    HWND window;
    HDC dc;
    ~DcReleaser() { if (dc) ReleaseDC(window, dc); }
};

struct MemoryDc {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits;
    MemoryDc(HDC reference, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(reference);
        bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Image Read(int width, int height) const {
        GdiFlush();
        Image image{width, height, {}};
        const auto* source = static_cast<const std::uint32_t*>(bits);
        image.pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int i = 0; i < width * height; ++i) {
            std::uint32_t bgr = source[i];
            image.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
        }
        return image;
    }
};

Image CaptureFrom(HWND window, HDC source, int x, int y, int width, int height) {
    (void)window;
    MemoryDc memory(source, width, height);
    BitBlt(memory.dc, 0, 0, width, height, source, x, y, SRCCOPY);
    return memory.Read(width, height);
}

}  // namespace

bool Image::Contains(COLORREF colour, RECT area) const {
    for (int y = area.top; y < area.bottom && y < height; ++y)
        for (int x = area.left; x < area.right && x < width; ++x)
            if (At(x, y) == colour) return true;
    return false;
}

Image CaptureWindow(HWND window, bool clientOnly) {
    RECT rect;
    if (clientOnly) GetClientRect(window, &rect);
    else {
        GetWindowRect(window, &rect);
        OffsetRect(&rect, -rect.left, -rect.top);
    }
    DcReleaser dc{window, clientOnly ? GetDC(window) : GetWindowDC(window)};
    return CaptureFrom(window, dc.dc, 0, 0, rect.right, rect.bottom);
}

Image CaptureClientRect(HWND window, RECT area) {
    DcReleaser dc{window, GetDC(window)};
    return CaptureFrom(window, dc.dc, area.left, area.top, area.right - area.left, area.bottom - area.top);
}

Image RenderOffscreen(int width, int height, void (*draw)(HDC, void*), void* context) {
    DcReleaser screen{nullptr, GetDC(nullptr)};
    MemoryDc memory(screen.dc, width, height);
    RECT all{0, 0, width, height};
    FillRect(memory.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(memory.dc, context);
    return memory.Read(width, height);
}

bool SaveBmp(const Image& image, const std::string& path) {
    const int rowBytes = (image.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = image.width;
    info.biHeight = image.height;  // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * image.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::vector<char> row(static_cast<size_t>(rowBytes), 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            COLORREF colour = image.At(x, y);
            row[static_cast<size_t>(x) * 3] = static_cast<char>(GetBValue(colour));
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(GetGValue(colour));
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
        out.write(row.data(), rowBytes);
    }
    return static_cast<bool>(out);
}

bool CaptureWindowToBmp(HWND window, const std::string& path) { return SaveBmp(CaptureWindow(window, false), path); }

}  // namespace guitest
