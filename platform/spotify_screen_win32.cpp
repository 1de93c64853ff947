#include "platform/spotify_screen_win32.h"

#include <windows.h>

#include <vector>

namespace {

// A colour no window draws in practice: a capture still holding only this
// colour was not drawn at all.
constexpr COLORREF kSentinel = RGB(1, 254, 3);

class PixelCapture : public WindowCapture {
public:
    PixelCapture(int width, int height, std::vector<Colour> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}
    Colour PixelAt(int x, int y) const override {
        if (pixels_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
        return pixels_[static_cast<size_t>(y) * width_ + x];
    }

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

// The bitmap's pixels as COLORREFs, top row first.
std::vector<Colour> ReadBitmap(HDC memory, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<Colour> bgra(static_cast<size_t>(width) * height);
    if (GetDIBits(memory, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS) != height) return {};
    for (Colour& c : bgra) c = RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    return bgra;
}

bool Untouched(const std::vector<Colour>& pixels) {
    for (Colour c : pixels)
        if (c != kSentinel) return false;
    return true;
}

void FillSentinel(HDC memory, int width, int height) {
    HBRUSH brush = CreateSolidBrush(kSentinel);
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
}

// Copies what the window shows on screen; the fallback where PrintWindow
// draws nothing (another process's window under Wine).
void CopyFromScreen(HWND window, HDC memory, int width, int height) {
    HDC source = GetWindowDC(window);
    if (!source) return;
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

std::vector<Colour> CaptureWindow(HWND window, int width, int height) {
    HDC windowDc = GetDC(window);
    if (!windowDc) return {};
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    std::vector<Colour> pixels;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        FillSentinel(memory, width, height);
        PrintWindow(window, memory, 0);
        SelectObject(memory, old);
        pixels = ReadBitmap(memory, bitmap, width, height);
        if (pixels.empty() || Untouched(pixels)) {
            old = SelectObject(memory, bitmap);
            CopyFromScreen(window, memory, width, height);
            SelectObject(memory, old);
            pixels = ReadBitmap(memory, bitmap, width, height);
            if (Untouched(pixels)) pixels.clear();
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return pixels;
}

}  // namespace

int Win32SpotifyScreen::ReadTitle(WindowHandle window, char* buffer, int size) {
    if (size > 0) buffer[0] = '\0';
    if (!window) return 0;
    return GetWindowTextA(static_cast<HWND>(window), buffer, size);
}

std::unique_ptr<WindowCapture> Win32SpotifyScreen::Capture(WindowHandle window, int width, int height) {
    std::vector<Colour> pixels;
    // GetDC of a null window would capture the whole screen: a window that is
    // gone must read as a failed capture instead.
    HWND hwnd = static_cast<HWND>(window);
    if (hwnd && IsWindow(hwnd) && width > 0 && height > 0) pixels = CaptureWindow(hwnd, width, height);
    return std::make_unique<PixelCapture>(width, height, std::move(pixels));
}
