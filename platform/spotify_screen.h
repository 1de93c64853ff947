// The seam to Spotify's main window as something to read: its title and its
// pixels. The Win32 side reads the real window; tests supply a simulation.
#pragma once
#include <memory>

#include "platform/types.h"

// One capture of a whole window (non-client area included).
class WindowCapture {
public:
    virtual ~WindowCapture() = default;
    // Colour at window-relative (x, y); kNoColour when the capture failed or
    // the point lies outside it.
    virtual Colour PixelAt(int x, int y) const = 0;
};

constexpr int kDefaultDpi = 96;

// A window's DPI and its size in pixels.
struct WindowScale {
    int dpi = kDefaultDpi;
    int pixelWidth = 0;
    int pixelHeight = 0;
};

class SpotifyScreen {
public:
    virtual ~SpotifyScreen() = default;
    // As GetWindowTextA: copies at most size - 1 bytes and a terminator into
    // buffer, returns the length copied; 0 and an empty text when there is
    // no such window.
    virtual int ReadTitle(WindowHandle window, char* buffer, int size) = 0;
    // A fresh capture of the window drawn at width x height pixels. Never
    // null: a failed capture reads kNoColour everywhere.
    virtual std::unique_ptr<WindowCapture> Capture(WindowHandle window, int width, int height) = 0;
    // The window's DPI (the system's where the window's own cannot be had)
    // and its size in pixels; 96 and 0 x 0 when there is no such window.
    virtual WindowScale Scale(WindowHandle window) = 0;
};
