// What the main window's check boxes, buttons and volume slider do, apart
// from reading and writing the controls themselves.
#pragma once
#include "base/application_state.h"
#include "music/mp3_index.h"
#include "base/platform.h"

void OnMuteAdvertsBox(ApplicationState& app, Platform& os, bool checked);
// Returns whether the box stays checked. Ticked without an MP3 folder, it
// asks for one: the box stays ticked and toRead is the chosen folder's
// reading, whose end (OnMp3FolderRead) decides; cancelled, the box goes off.
bool OnPlayMp3Box(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked,
                  Mp3FolderReading& toRead);
// A reading of the MP3 folder has ended: its files are taken over, a chosen
// folder without MP3 asks for another (returned, to be read next), and once
// no other follows, a Play MP3 box ticked meanwhile goes on, or off when no
// folder was found.
Mp3FolderReading OnMp3FolderRead(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs,
                                 Mp3FolderReading& reading);
void OnHotkeysBox(ApplicationState& app, Platform& os, bool checked);
void OnNextButton(ApplicationState& app, Platform& os);
void OnPreviousButton(ApplicationState& app, Platform& os);
void OnPlayButton(ApplicationState& app, Platform& os);
void OnVolumeSlider(ApplicationState& app, Platform& os, int position);
