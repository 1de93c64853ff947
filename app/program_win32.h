// The program's process-wide objects and window handles, shared by start-up,
// the window procedure and the tray.
#pragma once
#include <windows.h>

#include "app/application_state.h"
#include "app/hotkey_window_win32.h"
#include "platform/win32_platform.h"

constexpr UINT kTrayCallbackMessage = WM_USER + 1;  // 1025
constexpr UINT kTrayIconId = 1001;
constexpr UINT kLeaveSpotifyMessage = WM_APP + 3;      // from the console event thread
constexpr UINT kShowMainWindowMessage = WM_APP + 4;    // from a second copy
constexpr int kNormalExitCode = 420;
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
    HFONT font = nullptr;
    HFONT underlinedFont = nullptr;
    HMENU trayMenu = nullptr;
    HotkeyWindowControls hotkeyControls;
    bool mainWindowShown = false;
};

Win32Platform& TheWin32Platform();
ApplicationState& TheApplication();
ShellWindows& TheShell();
HBRUSH BackgroundBrush();

// Every way out that gives a chance to run code: Spotify left as found (volume
// back, window unparked, no further ticks) and the tray icon removed. Once.
void LeaveSpotifyOnce();
// Windows called off the end of the session: back to work.
void ComeBackToSpotify();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tray icon and menus.
void BuildMenus(HWND main);
void AddTrayIcon();
void RemoveTrayIcon();
void HideMainWindow();
void ShowMainWindow();
void OnTrayCallback(LPARAM mouseMessage);
