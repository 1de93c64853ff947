// Image adverts: banners inside Spotify's window are moved into the off-screen
// "SpotifyPopups" window; the full-screen advert window is closed and counted.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// Every 1500 ms.
void AdvertWindowTick(ApplicationState& app, Platform& os);

// One of Spotify's descendant windows: a banner (exactly 160 wide or 90 high)
// is parked in "SpotifyPopups" and logged.
void HideImageAdvert(ApplicationState& app, Platform& os, WindowHandle child);
