// Everything beside the application object that the operations work with: the
// seams to the outside world, the program's own windows, and the two
// process-wide engines (the filler player and the keystroke engine). The Win32
// program fills it with the real things, tests with simulations.
#pragma once
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"
#include "platform/hotkey_registrar.h"
#include "platform/installer_system.h"
#include "platform/main_controls.h"
#include "platform/spotify_screen.h"
#include "platform/system.h"
#include "platform/types.h"

class FillerPlayer;
class KeySequence;

// The program's own top-level windows; null until start-up creates them.
struct ProgramWindows {
    WindowHandle main = nullptr;
    WindowHandle about = nullptr;
    WindowHandle hotkeys = nullptr;
    WindowHandle container = nullptr;  // "SpotifyContainer", parks a hidden Spotify
    WindowHandle popups = nullptr;     // "SpotifyPopups", parks banner adverts
};

struct Platform {
    Desktop& desktop;
    Clock& clock;
    SpotifyScreen& screen;
    System& system;
    FolderListing& folders;
    MainControls& controls;
    FillerPlayer& filler;
    KeySequence& keys;
    HotkeyRegistrar& hotkeys;
    InstallerSystem& installer;
    ProgramWindows windows;
};
