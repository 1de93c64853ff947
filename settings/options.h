// The options file and the options the user changes, each saved the moment it
// changes. Options.ini lives in the working directory, except for the
// installed copy, which keeps it beside itself whatever it was started from.
#pragma once
#include <string>

#include "base/application_state.h"
#include "base/platform.h"

// The first-run hotkey of each function: modifiers and key index.
struct DefaultHotkey {
    HotkeyFunction function;
    int modifiers;
    int keyIndex;
};
extern const DefaultHotkey kFirstRunHotkeys[kHotkeyFunctionCount];

constexpr const char* kOptionsFileName = "Options.ini";
constexpr const char* kOptionsSection = "Options";

// The per-user install folder, ending with a backslash.
std::string InstallFolder(Platform& os);
// The same, for code that has only the system at hand (the removal's helper).
std::string InstallFolder(System& system);
// The installed copy's options file, in the install folder.
std::string InstalledOptionsPath(Platform& os);
// Whether the running program is the installed copy (it runs from the install
// folder).
bool RunsFromInstallFolder(Platform& os);

// The Mute Adverts box.
void SaveMuteAdverts(ApplicationState& app, bool checked);
// The Play MP3 box (the box asks for a folder first when there is none).
void SavePlayMp3(ApplicationState& app, bool checked);
// The Hotkeys box: only the stored flag; registering is the hotkeys' part.
void SaveHotkeysOption(ApplicationState& app, bool checked);
