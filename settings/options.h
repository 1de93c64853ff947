// The options file (Options.ini in the working directory) and the options the
// user changes, each saved the moment it changes.
#pragma once
#include "base/application_state.h"
#include "music/mp3_index.h"
#include "base/platform.h"

// The first-run hotkey of each function: modifiers and key index.
struct DefaultHotkey {
    HotkeyFunction function;
    int modifiers;
    int keyIndex;
};
extern const DefaultHotkey kFirstRunHotkeys[kHotkeyFunctionCount];

// The Mute Adverts box.
void SaveMuteAdverts(ApplicationState& app, bool checked);
// The Play MP3 box: switching it on without a folder asks for one first.
// Returns the box's state afterwards (off when no folder was chosen).
bool SavePlayMp3(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked);
// The Hotkeys box: only the stored flag; registering is the hotkeys' part.
void SaveHotkeysOption(ApplicationState& app, bool checked);
