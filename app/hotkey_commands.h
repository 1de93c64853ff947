// What a pressed hotkey does: it drives Spotify, its volume or the filler
// music, switches the hotkeys, or installs and updates the program.
#pragma once
#include "base/application_state.h"
#include "base/platform.h"

// id: a HotkeyFunction or kInstallHotkeyId; any other does nothing.
void DispatchHotkey(ApplicationState& app, Platform& os, int id);
