// The real surroundings of the Windows program, all in one place.
#pragma once
#include "keys/key_sequence.h"
#include "music/filler_player.h"
#include "platform/desktop_win32.h"
#include "platform/hotkey_registrar_win32.h"
#include "platform/installer_system_win32.h"
#include "platform/keyboard_win32.h"
#include "platform/main_controls_win32.h"
#include "platform/media_graph_win32.h"
#include "base/platform.h"
#include "platform/spotify_screen_win32.h"

struct Win32Platform {
    Win32Desktop desktop;
    Win32Clock clock;
    Win32SpotifyScreen screen;
    Win32System system;
    Win32MainControls controls;
    DirectShowGraph graph;
    FillerPlayer filler{graph};
    Win32Keyboard keyboard;
    KeySequence keys{keyboard, clock};
    Win32HotkeyRegistrar registrar;
    Win32InstallerSystem installer;
    Platform platform{desktop,  clock, screen,    system,    SystemFolderListing(), controls,
                      filler,   keys,  registrar, installer, ProgramWindows{}};

    Win32Platform() { keys.InitKeyboardLayout(); }
};
