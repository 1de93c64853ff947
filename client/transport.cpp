#include "client/transport.h"

#include "blocking/mute_control.h"

namespace {

void ClickBar(ApplicationState& app, Platform& os, int x) {
    ClickSpotify(app, os, x, app.spotifyHeight - spotify::kBarClickUp);
}

}  // namespace

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
