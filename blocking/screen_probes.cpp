#include "blocking/screen_probes.h"

#include <cmath>

#include "client/spotify_contract.h"
#include "client/window_scale.h"

std::unique_ptr<WindowCapture> CaptureSpotify(const ApplicationState& app, SpotifyScreen& screen) {
    const WindowScale scale = screen.Scale(app.spotifyWindow);
    if (scale.dpi == kDefaultDpi) return screen.Capture(app.spotifyWindow, app.spotifyWidth, app.spotifyHeight);
    return CaptureInUnits(screen.Capture(app.spotifyWindow, scale.pixelWidth, scale.pixelHeight), scale,
                          app.spotifyHeight);
}

Colour ProbePixel(const ApplicationState& app, SpotifyScreen& screen, int x, int y) {
    auto capture = CaptureSpotify(app, screen);
    return capture->PixelAt(x, y);
}

int LocateVolumeKnob(ApplicationState& app, SpotifyScreen& screen) {
    return LocateVolumeKnobIn(app, *CaptureSpotify(app, screen));
}

int LocateVolumeKnobIn(ApplicationState& app, const WindowCapture& capture) {
    const int y = app.spotifyHeight - spotify::kKnobRowUp;
    int x = spotify::kKnobScanFirstX;
    while (x <= spotify::kKnobScanLastX && capture.PixelAt(x, y) != spotify::kKnobColour) ++x;
    app.spotifyVolume = KnobVolume(x);
    return x;
}

float KnobPercent(int knobX) {
    // 100/76 rounded to single precision, as the client's slider computes it.
    const float perPixel = 1.3157894611358643f;
    const float f = static_cast<float>(knobX - spotify::kKnobMutedX) * perPixel;
    return f;
}

int KnobVolume(int knobX) {
    return static_cast<int>(std::floor(KnobPercent(knobX) + 0.5f));
}
