// Keeping Spotify's window capturable and clickable: a minimised or hidden
// window is restored invisibly and parked out of sight, and put back when the
// user activates it, on Reset Window and on exit.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// Before the detection tick reads Spotify: its window's state, place and size.
void KeepSpotifyCapturable(ApplicationState& app, Platform& os);

// Between those looks, every tick: a parked window the user has activated
// comes back (asks only which window is in front).
void WatchParkedSpotify(ApplicationState& app, Platform& os);

// The Spotify menu's Reset Window.
void ResetSpotifyWindow(ApplicationState& app, Platform& os);

// On exit: stops filler music and gives Spotify's window back.
void ReleaseSpotifyWindow(ApplicationState& app, Platform& os);
