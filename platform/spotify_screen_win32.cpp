#include "platform/spotify_screen_win32.h"

#include <windows.h>

#include <string>

#include "base/text_helpers.h"

namespace {

// A colour no window draws in practice: a pixel still holding it was not drawn.
constexpr COLORREF kSentinel = RGB(1, 254, 3);

// The window drawn into a memory bitmap by PrintWindow. Where PrintWindow drew
// nothing (another process's window under Wine), the pixels are copied from
// the window on screen instead: from the row of the first undrawn pixel down to
// the bottom edge, where the player bar is, and further up only if a pixel
// above is asked for. A copy costs time in proportion to its rows, and that
// time is heard at the start of every advert.
class PrintedWindow : public WindowCapture {
public:
    PrintedWindow(HWND window, int width, int height) : window_(window), width_(width), height_(height) {
        HDC windowDc = GetDC(window_);
        if (!windowDc) return;
        memory_ = CreateCompatibleDC(windowDc);
        bitmap_ = CreateCompatibleBitmap(windowDc, width_, height_);
        ReleaseDC(window_, windowDc);
        if (!memory_ || !bitmap_) return;
        old_ = SelectObject(memory_, bitmap_);
        HBRUSH brush = CreateSolidBrush(kSentinel);
        RECT all = {0, 0, width_, height_};
        FillRect(memory_, &all, brush);
        DeleteObject(brush);
        PrintWindow(window_, memory_, 0);
        ready_ = true;
    }
    ~PrintedWindow() override {
        if (old_) SelectObject(memory_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (memory_) DeleteDC(memory_);
    }
    Colour PixelAt(int x, int y) const override {
        if (!ready_ || x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
        COLORREF c = GetPixel(memory_, x, y);
        if (c == kSentinel && y < copiedFromY_) {
            CopyFromScreen(y);
            c = GetPixel(memory_, x, y);
        }
        return c == kSentinel ? kNoColour : c;
    }

private:
    // Copies the rows from y down to those copied already.
    void CopyFromScreen(int y) const {
        HDC source = GetWindowDC(window_);
        const int rows = copiedFromY_ - y;
        copiedFromY_ = y;
        if (!source) return;
        BitBlt(memory_, 0, y, width_, rows, source, 0, y, SRCCOPY);
        ReleaseDC(window_, source);
    }

    HWND window_;
    int width_;
    int height_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    bool ready_ = false;
    mutable int copiedFromY_ = height_;  // rows from here down are copied
};

class FailedCapture : public WindowCapture {
public:
    Colour PixelAt(int, int) const override { return kNoColour; }
};

}  // namespace

int Win32SpotifyScreen::ReadTitle(WindowHandle window, char* buffer, int size) {
    if (size > 0) buffer[0] = '\0';
    if (!window) return 0;
    const int length = GetWindowTextA(static_cast<HWND>(window), buffer, size);
    if (length < size - 1 || GetACP() != CP_UTF8) return length;
    // A title that fills the buffer may end in half a UTF-8 character.
    const std::string whole = WholeCharacters(std::string(buffer, static_cast<size_t>(length)));
    buffer[whole.size()] = '\0';
    return static_cast<int>(whole.size());
}

std::unique_ptr<WindowCapture> Win32SpotifyScreen::Capture(WindowHandle window, int width, int height) {
    // GetDC of a null window would capture the whole screen: a window that is
    // gone must read as a failed capture instead.
    HWND hwnd = static_cast<HWND>(window);
    if (!hwnd || !IsWindow(hwnd) || width <= 0 || height <= 0) return std::make_unique<FailedCapture>();
    return std::make_unique<PrintedWindow>(hwnd, width, height);
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

WindowScale Win32SpotifyScreen::Scale(WindowHandle window) {
    WindowScale scale;
    HWND hwnd = static_cast<HWND>(window);
    RECT r;
    if (!hwnd || !IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return scale;
    scale.dpi = WindowDpi(hwnd);
    scale.pixelWidth = r.right - r.left;
    scale.pixelHeight = r.bottom - r.top;
    return scale;
}
