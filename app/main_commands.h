// What the main window's check boxes, buttons and volume slider do, apart
// from reading and writing the controls themselves.
#pragma once
#include "app/application_state.h"
#include "music/mp3_index.h"
#include "platform/platform.h"

void OnMuteAdvertsBox(ApplicationState& app, Platform& os, bool checked);
// Returns whether the box stays checked (not without an MP3 folder).
bool OnPlayMp3Box(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked);
void OnHotkeysBox(ApplicationState& app, Platform& os, bool checked);
void OnNextButton(ApplicationState& app, Platform& os);
void OnPreviousButton(ApplicationState& app, Platform& os);
void OnPlayButton(ApplicationState& app, Platform& os);
void OnVolumeSlider(ApplicationState& app, Platform& os, int position);

// Before the program ends without ending Spotify: an advert's silence must
// not outlive the program, and a parked window goes back. No tick acts after it.
void LeaveSpotifyAsFound(ApplicationState& app, Platform& os);

// Windows called off its log-off or shutdown after the program had left
// Spotify: ticks act again and the current title is judged anew.
void ComeBackAfterCancelledEnd(ApplicationState& app);
