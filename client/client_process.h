// Finding, starting and ending Spotify, and bringing a window to the front.
#pragma once
#include <cstdint>

#include "base/application_state.h"
#include "base/platform.h"

// Finds Spotify's main window (or launches Spotify) and measures the window.
void StartSpotify(ApplicationState& app, Platform& os);

struct SpotifyProcess {
    bool enumerated = false;
    bool found = false;
    std::uint32_t processId = 0;
};
SpotifyProcess FindSpotifyProcess(Platform& os);

// Ends the process that owns Spotify's main window; with no window, the first
// process whose image is Spotify.exe; nothing when none.
void KillSpotify(ApplicationState& app, Platform& os);

void BringToForeground(Platform& os, WindowHandle window);

// Layered style with opacity 0 (invisible), and its removal.
void MakeSpotifyTransparent(ApplicationState& app, Platform& os);
void ToggleLayered(ApplicationState& app, Platform& os);

// Reads Spotify's window rectangle into the geometry fields; false (fields
// unchanged) when the window cannot be measured.
bool MeasureSpotify(ApplicationState& app, Platform& os);

// Whether the measured window has the size of a logged-in main window (not a
// splash or login window).
bool LoggedInSize(const ApplicationState& app);
