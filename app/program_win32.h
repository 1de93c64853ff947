// The running program: every object it owns, built in WinMain in order, and
// what start-up, the window procedure and the tray share of it. The windows
// find it through their user data.
#pragma once
#include <windows.h>

#include <memory>

#include "app/advert_timers_win32.h"
#include "app/hotkey_window_win32.h"
#include "app/win32_platform.h"
#include "app/workers_win32.h"
#include "base/application_state.h"
#include "base/command_ids.h"
#include "platform/handles_win32.h"

constexpr UINT kTrayCallbackMessage = WM_USER + 1;  // 1025
constexpr UINT kTrayIconId = 1001;
constexpr UINT kEndProgramMessage = WM_APP + 3;        // from the console event thread
constexpr UINT kShowMainWindowMessage = WM_APP + 4;    // from a second copy
constexpr const char* kHomePage = "https://adquell-lite.org/";
constexpr const char* kHomePageName = "adquell-lite.org";
constexpr const char* kDonatePage = "https://adquell-lite.org/donate";

struct ShellWindows {
    HWND main = nullptr;
    HWND about = nullptr;
    HWND hotkeys = nullptr;
    HWND container = nullptr;
    HWND popups = nullptr;
    HWND desktop = nullptr;
    HWND statusLabel = nullptr;
    HWND counterLabel = nullptr;
    HWND linkLabel = nullptr;
    HWND muteBox = nullptr;
    HWND playBox = nullptr;
    HWND hotkeysBox = nullptr;
    HWND playButton = nullptr;
    HWND volumeSlider = nullptr;
    HFONT font = nullptr;            // owned by the DPI layout's font table
    OwnedMenu trayMenu;
    HotkeyWindowControls hotkeyControls;
    bool mainWindowShown = false;
};

struct Program {
    Win32Platform win32;  // the seams, the keystroke engine and the filler player
    Platform& os = win32.platform;
    // Built only once this copy knows it is the only one: its construction
    // reads the options file and finds or starts Spotify.
    std::unique_ptr<ApplicationState> app;
    TickTarget ticks;
    OwnedBrush background{CreateSolidBrush(RGB(31, 31, 31))};
    ShellWindows shell;
    Workers workers;           // what runs off the window's thread
    int sliderPosition = 0;    // the volume slider's, waiting for Spotify ...
    bool sliderWaiting = false;  // ... to be free
    bool leftSpotify = false;  // Spotify left as found; the ticks do nothing
    bool givingBack = false;   // ... under way: an end asked for now waits for it
    int exitCode = -1;         // the first end asked for, once one is
    bool endSpotify = false;   // ... and whether an end asked for ends Spotify too
    // Set once Spotify has been given back: the console's event thread waits
    // for it before the process ends.
    OwnedEvent givenBack{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// The program a window of it belongs to.
Program& ProgramOf(HWND window);

// Every way out that gives a chance to run code: Spotify left as found (volume
// back, window unparked, no further ticks) and the tray icon removed. Once.
void LeaveSpotifyOnce(Program& program);
// The one way the process ends: Spotify given back first, then (the Zelmors)
// Spotify's process ended. The first end asked for gives the exit code; one
// asked for while Spotify is being given back (a message taken meanwhile) is
// carried out once that is done, with what every end asked for.
void EndProgram(Program& program, int exitCode, bool endSpotify = false);
// Windows called off the end of the session: back to work.
void ComeBackToSpotify(Program& program);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tray icon and menus.
// The main window's menu bar and the tray menu, as the main window is created.
void BuildMenus(Program& program, HWND main);
void AddTrayIcon(Program& program);
void RemoveTrayIcon(Program& program);
void HideMainWindow(Program& program);
void ShowMainWindow(Program& program);
void OnTrayCallback(Program& program, LPARAM mouseMessage);
