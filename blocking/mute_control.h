// Silencing adverts with Spotify's own volume slider, and volume steps.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// on: save the knob, click the slider to 0 % (checked, with retries), make
// Spotify play again. off: click the knob back to where it was (checked).
void SetBlocked(ApplicationState& app, Platform& os, bool on);

// Ten points up or down, following the main window's slider too.
void VolumeUp(ApplicationState& app, Platform& os);
void VolumeDown(ApplicationState& app, Platform& os);

// Follows the main window's slider position p (0-100).
void SetSpotifyVolume(ApplicationState& app, Platform& os, int p);

// While an advert is silenced: a knob that moved off 0 % is put back.
void KeepAdvertSilent(ApplicationState& app, Platform& os);

// Whether a scan result is a knob position (kKnobNotFoundX is not).
bool IsKnobPosition(int knobX);

// A restore record in the options file (the program ended while an advert was
// silenced) makes a restore pending; an unreadable one is removed.
void LoadPendingRestore(ApplicationState& app);

// Puts a pending volume back once Spotify's logged-in main window is there,
// at most once a second, and forgets the record only when a re-scan shows the
// knob back. An advert playing meanwhile is taken as silenced. Returns true
// when nothing is left to restore.
bool RestoreVolumeIfPending(ApplicationState& app, Platform& os);

// The click x of the volume steps for a knob at knobX, and the slider position
// they set; the client's single-precision arithmetic, unclamped.
struct VolumeStep {
    int sliderPosition;
    int clickX;
};
VolumeStep ComputeVolumeStep(int knobX, float change);
int FollowClickX(int p);
