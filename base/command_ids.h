// The program's command and control ids (menus, buttons, tray) and its
// hotkey functions, named once for the menus, the window procedure, the
// hotkey dispatch and the options defaults. The numbers are what Windows and
// Options.ini see; they never change.
#pragma once

enum CommandId : int {
    kMuteBoxId = 1,
    kPlayBoxId = 2,
    kHotkeysBoxId = 3,
    kDebugConsoleCommand = 919,
    kTrayExitCommand = 1002,
    kTrayZelmorCommand = 1003,
    kExitCommand = 9001,
    kZelmorCommand = 9002,
    kSetHotkeysCommand = 9003,
    kSetFolderCommand = 9004,
    kStartWithWindowsCommand = 9005,
    kHotkeyKeyListId = 9006,
    kHotkeyFunctionListId = 9007,
    kHotkeySetId = 9008,
    kOpenSpotifyCommand = 9009,
    kCloseSpotifyCommand = 9010,
    kLyricsCommand = 9011,
    kResetWindowCommand = 9012,
    kStarMenuCommand = 9014,
    kDebugKeysCommand = 9015,
    kAboutCommand = 9016,
    kDonateCommand = 9017,
    kNextButtonId = 9020,
    kPreviousButtonId = 9021,
    kStarButtonId = 9022,
    kPlayButtonId = 9023,
    kVolumeSliderId = 9024,
};

// The nine configurable functions (their numbers are the keys of the
// [Hotkeys] section and the ids they are registered under) and Alt+D.
enum HotkeyFunction : int {
    kHotkeysOnOff = 0,
    kHotkeyNext = 1,
    kHotkeyPlay = 2,
    kHotkeyPrevious = 3,
    kHotkeyRepeat = 4,
    kHotkeyShuffle = 5,
    kHotkeyStar = 6,
    kHotkeyVolumeDown = 7,
    kHotkeyVolumeUp = 8,
    kHotkeyFunctionCount = 9,
    kInstallHotkeyId = 9,  // Alt+D, not configurable
};

// Sent by a removal to a running copy: leave Spotify as found and end
// (WM_APP + 5).
constexpr unsigned kEndForRemovalMessage = 0x8000 + 5;
// Asked by the tests of another process: how many notices (tray balloons)
// the program has shown (WM_APP + 6).
constexpr unsigned kNoticesShownMessage = 0x8000 + 6;
// From the threads that do what waits on the outside world, to the main
// window (WM_APP + 7 to 9). lParam is a heap object that the window's thread
// takes over: the MP3 folder's reading, the version an update check starts
// to download (text), the finished update check.
constexpr unsigned kMp3FolderReadMessage = 0x8000 + 7;
constexpr unsigned kUpdateDownloadingMessage = 0x8000 + 8;
constexpr unsigned kUpdateCheckedMessage = 0x8000 + 9;

// Every planned end of the process (exit, installer hand-over, session end).
constexpr int kPlannedExitCode = 420;
// File > Exit.
constexpr int kMenuExitCode = 1;
