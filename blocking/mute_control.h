// Silencing adverts with Spotify's own volume slider, and volume steps.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// Queues what the next ticks do to Spotify (spotify_sequence.h). on: save the
// knob, click the slider to 0 % (checked, with retries), make Spotify play
// again; advertBlocked is set as the mute click is sent. off: click the knob
// back from 0 % to where it was (checked); a knob that cannot be seen leaves
// the restore pending, one the listener moved is left alone.
void SetBlocked(ApplicationState& app, Platform& os, bool on);

// The same for the commands that give the volume back (Mute Adverts cleared,
// Spotify's Close): one click and one check 50 ms later; what does not verify
// stays pending.
void GiveVolumeBack(ApplicationState& app, Platform& os);

// At an end: the volume back at once, giving a window just unparked up to
// 1.5 s to be drawn, then up to four clicks. Waits on purpose (at most about
// 4 s): nothing comes after.
void GiveVolumeBackBeforeLeaving(ApplicationState& app, Platform& os);

// Ten points up or down, following the main window's slider too.
void VolumeUp(ApplicationState& app, Platform& os);
void VolumeDown(ApplicationState& app, Platform& os);

// Follows the main window's slider position p (0-100).
void SetSpotifyVolume(ApplicationState& app, Platform& os, int p);

// While an advert is silenced: a knob that moved off 0 % is put back.
void KeepAdvertSilent(ApplicationState& app, Platform& os);

// Whether a scan result is a knob position (kKnobNotFoundX is not).
bool IsKnobPosition(int knobX);

// A restore record left by an earlier run (or, from an earlier version, in
// Options.ini) makes a restore pending; an unreadable one is removed.
void LoadPendingRestore(ApplicationState& app, Platform& os);

// Puts a pending volume back once Spotify's logged-in main window is there:
// at once for a window not tried yet, else at most once a second. The knob is
// scanned first and clicked back only from 0 %; a knob elsewhere is the
// listener's own choice and is left. After ten scans of a playing client
// without its knob the listener is told to set it by hand. An advert playing
// meanwhile is taken as silenced. The clicks are queued (spotify_sequence.h).
// Returns true when nothing is owed, not counting a restore just queued.
bool RestoreVolumeIfPending(ApplicationState& app, Platform& os);

// Once the listener has been told, a pending restore is scanned for only when
// the title changes: back from 0 %, or left to the listener.
void RestoreAtTitleChange(ApplicationState& app, Platform& os);

// The click x of the volume steps for a knob at knobX, and the slider position
// they set; the client's single-precision arithmetic, unclamped.
struct VolumeStep {
    int sliderPosition;
    int clickX;
};
VolumeStep ComputeVolumeStep(int knobX, float change);
int FollowClickX(int p);
