// What the main window's check boxes, buttons and volume slider do, apart
// from reading and writing the controls themselves.
#pragma once
#include "base/application_state.h"
#include "music/mp3_index.h"
#include "base/platform.h"

void OnMuteAdvertsBox(ApplicationState& app, Platform& os, bool checked);
// Returns whether the box stays checked (not without an MP3 folder).
bool OnPlayMp3Box(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked);
void OnHotkeysBox(ApplicationState& app, Platform& os, bool checked);
void OnNextButton(ApplicationState& app, Platform& os);
void OnPreviousButton(ApplicationState& app, Platform& os);
void OnPlayButton(ApplicationState& app, Platform& os);
void OnVolumeSlider(ApplicationState& app, Platform& os, int position);
