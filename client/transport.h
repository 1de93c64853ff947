// Previous, play/pause, next, shuffle and repeat: one click each on Spotify's
// player bar, measured from the window's bottom corners.
#pragma once
#include "app/application_state.h"
#include "platform/platform.h"

void PreviousTrack(ApplicationState& app, Platform& os);
void PlayPause(ApplicationState& app, Platform& os);
void NextTrack(ApplicationState& app, Platform& os);
void ToggleShuffle(ApplicationState& app, Platform& os);
void ToggleRepeat(ApplicationState& app, Platform& os);
