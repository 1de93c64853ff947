// The detection loop: every 50 ms Spotify's title is read; on each change it
// decides whether an advert has started or ended, silences Spotify or plays
// filler music, restores Spotify afterwards and keeps the status texts current.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// One tick, without the timer handling around it (the Win32 side kills the
// timer before and arms it again after).
void DetectionTick(ApplicationState& app, Platform& os);

// Counts one more blocked advert and shows it in the About window.
void CountAdvert(ApplicationState& app, Platform& os);

// Before the program ends, by any way out: an advert's silence must not
// outlive the program, and a parked window goes back as it was. No tick acts
// after it, and a mute sequence under way stops. Once; a second call returns.
void LeaveSpotifyAsFound(ApplicationState& app, Platform& os);

// Spotify's Close: its volume and window go back before its process ends, so
// the client keeps the listener's volume for its next start.
void CloseSpotify(ApplicationState& app, Platform& os);

// Windows called off its log-off or shutdown after the program had left
// Spotify: ticks act again and the current title is judged anew.
void ComeBackAfterCancelledEnd(ApplicationState& app);
