#include "blocking/image_adverts.h"

#include <cstdio>

#include "app/log.h"

void HideImageAdvert(ApplicationState&, Platform& os, WindowHandle child) {
    WindowRect r;
    if (!os.desktop.GetRect(child, r)) return;
    const bool right = r.Width() == spotify::kBannerWidth;
    const bool bottom = r.Height() == spotify::kBannerHeight;
    if (!right && !bottom) return;
    os.desktop.SetParent(child, os.windows.popups);
    os.desktop.SetPos(child, win::kHwndTop, 250, 250, 1, 1, win::kSwpNoSize | win::kSwpShowWindow);
    LogLine(right ? "Blocked:    Image advert (right)" : "Blocked:    Image advert (bottom)");
}

namespace {

bool IsFullScreenAdvert(const WindowRect& r) {
    if (r.Width() != spotify::kFullScreenAdvertWidth) return false;
    for (int h : spotify::kFullScreenAdvertHeights)
        if (r.Height() == h) return true;
    return false;
}

}  // namespace

void AdvertWindowTick(ApplicationState& app, Platform& os) {
    // Without Spotify's window no other program's windows are ever visited.
    if (WindowHandle spotify = app.spotifyWindow)
        for (WindowHandle child : os.desktop.Descendants(spotify)) HideImageAdvert(app, os, child);
    WindowHandle advert = os.desktop.FindTopWindow(spotify::kFullScreenAdvertClass, nullptr);
    WindowRect r;
    if (!advert || !os.desktop.GetRect(advert, r) || !IsFullScreenAdvert(r)) return;
    os.desktop.Post(advert, win::kWmClose, 0, 0);
    ++app.advertsBlocked;
    char text[64];
    std::snprintf(text, sizeof text, "Total Adverts Blocked: %d", app.advertsBlocked);
    LogLine("Blocked:    Full screen advert");
    os.controls.SetCounterLabel(text);
}
