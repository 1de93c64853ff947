// Spotify lays out its window in 96-DPI units and draws them scaled by the
// window's DPI. Every point this program knows of Spotify stays in those units
// (as the contract writes them); these conversions are used only where pixels
// are read and clicks are posted. At 96 DPI they change nothing.
#pragma once
#include <memory>

#include "platform/spotify_screen.h"

struct PixelPoint {
    int x = 0;
    int y = 0;
};

// A length in pixels as 96-DPI units, and back; both rounded to the nearest.
int PixelsToUnits(int pixels, int dpi);
int UnitsToPixels(int units, int dpi);

// A window point in units (x from the left edge, y from the top of a window
// unitHeight units high) as a pixel point. The player bar hangs from the
// bottom edge, so y is converted as its distance from the bottom.
PixelPoint UnitPointToPixels(const WindowScale& scale, int x, int y, int unitHeight);

// A capture read in units: wraps one read in pixels.
std::unique_ptr<WindowCapture> CaptureInUnits(std::unique_ptr<WindowCapture> pixels, const WindowScale& scale,
                                              int unitHeight);
