// Keeping Spotify's window capturable and clickable: a minimised or hidden
// window is restored invisibly and parked out of sight, and put back when the
// user activates it, on Reset Window and on exit.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// At the start of every detection tick.
void KeepSpotifyCapturable(ApplicationState& app, Platform& os);

// The Spotify menu's Reset Window.
void ResetSpotifyWindow(ApplicationState& app, Platform& os);

// On exit: stops filler music and gives Spotify's window back.
void ReleaseSpotifyWindow(ApplicationState& app, Platform& os);
