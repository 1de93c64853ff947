#include "blocking/image_adverts.h"

#include <cstdio>

#include "base/log.h"
#include "client/spotify_contract.h"
#include "client/window_scale.h"

namespace {

// A window's size in 96-DPI units, as Spotify lays it out.
bool UnitSize(Platform& os, WindowHandle window, int& width, int& height) {
    WindowRect r;
    if (!os.desktop.GetRect(window, r)) return false;
    const int dpi = os.screen.Scale(window).dpi;
    width = PixelsToUnits(r.Width(), dpi);
    height = PixelsToUnits(r.Height(), dpi);
    return true;
}

}  // namespace

void HideImageAdvert(ApplicationState&, Platform& os, WindowHandle child) {
    int width = 0, height = 0;
    if (!UnitSize(os, child, width, height)) return;
    const bool right = width == spotify::kBannerWidth;
    const bool bottom = height == spotify::kBannerHeight;
    if (!right && !bottom) return;
    os.desktop.SetParent(child, os.windows.popups);
    os.desktop.SetPos(child, win::kHwndTop, 250, 250, 1, 1, win::kSwpNoSize | win::kSwpShowWindow);
    LogLine(right ? "Blocked:    Image advert (right)" : "Blocked:    Image advert (bottom)");
}

namespace {

bool IsFullScreenAdvert(int width, int height) {
    if (width != spotify::kFullScreenAdvertWidth) return false;
    for (int h : spotify::kFullScreenAdvertHeights)
        if (height == h) return true;
    return false;
}

}  // namespace

void AdvertWindowTick(ApplicationState& app, Platform& os) {
    // Without Spotify's window no other program's windows are ever visited.
    if (WindowHandle spotify = app.spotifyWindow)
        for (WindowHandle child : os.desktop.Descendants(spotify)) HideImageAdvert(app, os, child);
    WindowHandle advert = os.desktop.FindTopWindow(spotify::kFullScreenAdvertClass, nullptr);
    int width = 0, height = 0;
    if (!advert || !UnitSize(os, advert, width, height) || !IsFullScreenAdvert(width, height)) return;
    os.desktop.Post(advert, win::kWmClose, 0, 0);
    ++app.advertsBlocked;
    char text[64];
    std::snprintf(text, sizeof text, "Total Adverts Blocked: %d", app.advertsBlocked);
    LogLine("Blocked:    Full screen advert");
    os.controls.SetCounterLabel(text);
}
