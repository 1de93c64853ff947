// Clicks on Spotify's window; previous, play/pause, next, shuffle and repeat
// are one click each on its player bar, measured from the bottom corners.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// One left click at a window point of Spotify (96-DPI units, made for its
// scale): posted press, 15 ms, release, 10 ms.
void ClickSpotify(ApplicationState& app, Platform& os, int x, int y);

void PreviousTrack(ApplicationState& app, Platform& os);
void PlayPause(ApplicationState& app, Platform& os);
void NextTrack(ApplicationState& app, Platform& os);
void ToggleShuffle(ApplicationState& app, Platform& os);
void ToggleRepeat(ApplicationState& app, Platform& os);
