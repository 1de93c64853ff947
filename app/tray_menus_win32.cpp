// The tray icon, its menu, and the main window's menu bar.
#include <windows.h>

#include <initializer_list>
#include <utility>

#include "app/log.h"
#include "app/main_commands.h"
#include "app/program_win32.h"
#include "client/client_process.h"
#include "client/window_parking.h"

namespace {

constexpr UINT kTrayExit = 1002;
constexpr UINT kTrayZelmor = 1003;

NOTIFYICONDATAA TrayRecord() {
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = TheShell().main;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayCallbackMessage;
    // The tray's own size at the system's scale, drawn from the icon's own
    // sizes (16 to 256) rather than stretched.
    record.hIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    lstrcpynA(record.szTip, "Adquell 0.4", 64);
    return record;
}

HMENU Popup(std::initializer_list<std::pair<const char*, UINT>> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) AppendMenuA(menu, MF_STRING, item.second, item.first);
    return menu;
}

void EndFromTray(bool endSpotify) {
    ApplicationState& app = TheApplication();
    Platform& os = TheWin32Platform().platform;
    if (endSpotify) {
        RemoveTrayIcon();
        ReleaseSpotifyWindow(app, os);
        KillSpotify(os);
    } else {
        LeaveSpotifyOnce();
    }
    PostQuitMessage(0);
}

}  // namespace

void BuildMenus(HWND main) {
    TheShell().trayMenu = Popup({{"Exit", kTrayExit}, {"Zelmor", kTrayZelmor}});
    HMENU bar = CreateMenu();
    const struct {
        const char* caption;
        HMENU menu;
    } popups[] = {
        {"&File", Popup({{"E&xit", 9001}, {"&Zelmor", 9002}})},
        {"&Options", Popup({{"Set &Hotkeys", 9003}, {"Set &Folder", 9004}})},
        {"&Spotify", Popup({{"&Close", 9010}, {"&Debug", 9015}, {"&Google Lyrics", 9011}, {"&Open", 9009},
                            {"&Reset Window", 9012}, {"&Star", 9014}})},
        {"&Adquell", Popup({{"&About", 9016}, {"De&bug", 919}, {"&Donate", 9017}})},
    };
    for (const auto& p : popups)
        AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(p.menu), p.caption);
    SetMenu(main, bar);
}

void AddTrayIcon() {
    NOTIFYICONDATAA record = TrayRecord();
    Shell_NotifyIconA(NIM_ADD, &record);
}

void RemoveTrayIcon() {
    NOTIFYICONDATAA record = TrayRecord();
    Shell_NotifyIconA(NIM_DELETE, &record);
}

void HideMainWindow() {
    ShowWindow(TheShell().main, SW_HIDE);
    if (TheDebugLog().consoleShown) ShowWindow(static_cast<HWND>(TheDebugLog().consoleWindow.load()), SW_HIDE);
}

void ShowMainWindow() {
    if (TheDebugLog().consoleShown) ShowWindow(static_cast<HWND>(TheDebugLog().consoleWindow.load()), SW_SHOW);
    ShowWindow(TheShell().main, SW_RESTORE);
    SetForegroundWindow(TheShell().main);
}

void OnTrayCallback(LPARAM mouseMessage) {
    ShellWindows& shell = TheShell();
    if (mouseMessage == WM_LBUTTONUP) {
        shell.mainWindowShown = !shell.mainWindowShown;
        if (shell.mainWindowShown) ShowMainWindow();
        else HideMainWindow();
        return;
    }
    if (mouseMessage != WM_RBUTTONUP) return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(shell.main);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(shell.trayMenu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, shell.main, nullptr));
    SendMessageA(shell.main, WM_NULL, 0, 0);
    if (chosen == kTrayExit) EndFromTray(false);
    else if (chosen == kTrayZelmor) EndFromTray(true);
}
