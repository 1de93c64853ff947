#include "client/window_scale.h"

namespace {

// Rounds a / b to the nearest whole number, halves away from zero.
int RoundedDivide(long long a, long long b) {
    return static_cast<int>(a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)));
}

class UnitCapture : public WindowCapture {
public:
    UnitCapture(std::unique_ptr<WindowCapture> pixels, const WindowScale& scale, int unitHeight)
        : pixels_(std::move(pixels)), scale_(scale), unitHeight_(unitHeight) {}
    Colour PixelAt(int x, int y) const override {
        const PixelPoint p = UnitPointToPixels(scale_, x, y, unitHeight_);
        return pixels_->PixelAt(p.x, p.y);
    }

private:
    std::unique_ptr<WindowCapture> pixels_;
    WindowScale scale_;
    int unitHeight_;
};

}  // namespace

int PixelsToUnits(int pixels, int dpi) {
    if (dpi <= 0 || dpi == kDefaultDpi) return pixels;
    return RoundedDivide(static_cast<long long>(pixels) * kDefaultDpi, dpi);
}

int UnitsToPixels(int units, int dpi) {
    if (dpi <= 0 || dpi == kDefaultDpi) return units;
    return RoundedDivide(static_cast<long long>(units) * dpi, kDefaultDpi);
}

PixelPoint UnitPointToPixels(const WindowScale& scale, int x, int y, int unitHeight) {
    if (scale.dpi <= 0 || scale.dpi == kDefaultDpi) return {x, y};
    return {UnitsToPixels(x, scale.dpi), scale.pixelHeight - UnitsToPixels(unitHeight - y, scale.dpi)};
}

std::unique_ptr<WindowCapture> CaptureInUnits(std::unique_ptr<WindowCapture> pixels, const WindowScale& scale,
                                              int unitHeight) {
    if (scale.dpi <= 0 || scale.dpi == kDefaultDpi) return pixels;
    return std::make_unique<UnitCapture>(std::move(pixels), scale, unitHeight);
}
