#include "client/transport.h"

#include <cstdint>

#include "client/spotify_contract.h"
#include "client/window_scale.h"

namespace {

void ClickBar(ApplicationState& app, Platform& os, int x) {
    ClickSpotify(app, os, x, app.spotifyHeight - spotify::kBarClickUp);
}

}  // namespace

void ClickSpotify(ApplicationState& app, Platform& os, int x, int y) {
    const PixelPoint p = UnitPointToPixels(os.screen.Scale(app.spotifyWindow), x, y, app.spotifyHeight);
    const std::intptr_t point = static_cast<std::intptr_t>((static_cast<unsigned>(p.x) & 0xFFFFu) |
                                                           ((static_cast<unsigned>(p.y) & 0xFFFFu) << 16));
    os.desktop.Post(app.spotifyWindow, win::kWmLButtonDown, win::kMkLButton, point);
    os.clock.Sleep(15);
    os.desktop.Post(app.spotifyWindow, win::kWmLButtonUp, 0, point);
    os.clock.Sleep(10);
}

void PreviousTrack(ApplicationState& app, Platform& os) {
    ClickBar(app, os, spotify::kPreviousX);
}

void PlayPause(ApplicationState& app, Platform& os) {
    ClickBar(app, os, spotify::kPlayPauseX);
}

void NextTrack(ApplicationState& app, Platform& os) {
    ClickBar(app, os, spotify::kNextX);
}

void ToggleShuffle(ApplicationState& app, Platform& os) {
    ClickBar(app, os, app.spotifyWidth - spotify::kShuffleFromRight);
}

void ToggleRepeat(ApplicationState& app, Platform& os) {
    ClickBar(app, os, app.spotifyWidth - spotify::kRepeatFromRight);
}
