// The tray icon, its menu, and the main window's menu bar.
#include <windows.h>

#include <initializer_list>
#include <utility>

#include "base/health.h"
#include "base/log.h"
#include "app/main_commands.h"
#include "app/program_win32.h"
#include "client/client_process.h"
#include "client/window_parking.h"
#include "install/windows_entries.h"

namespace {

NOTIFYICONDATAA TrayRecord(const Program& program) {
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = program.shell.main;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayCallbackMessage;
    // What the program's health shows now (an icon added again keeps it).
    record.hIcon = TrayIcon(program.win32.controls.trayGreyed);
    if (program.app) lstrcpynA(record.szTip, HealthTip(*program.app).c_str(), sizeof record.szTip);
    return record;
}

HMENU Popup(std::initializer_list<std::pair<const char*, UINT>> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) AppendMenuA(menu, MF_STRING, item.second, item.first);
    return menu;
}

void EndFromTray(Program& program, bool endSpotify) {
    EndProgram(program, kPlannedExitCode, endSpotify);
}

}  // namespace

void BuildMenus(Program& program, HWND main) {
    program.shell.trayMenu.reset(Popup({{"Exit", kTrayExitCommand}, {"Zelmor", kTrayZelmorCommand}}));
    HMENU bar = CreateMenu();
    const struct {
        const char* caption;
        HMENU menu;
    } popups[] = {
        {"&File", Popup({{"E&xit", kExitCommand}, {"&Zelmor", kZelmorCommand}})},
        {"&Options", Popup({{"Set &Hotkeys", kSetHotkeysCommand},
                            {"Set &Folder", kSetFolderCommand},
                            {"Start with &Windows", kStartWithWindowsCommand}})},
        {"&Spotify", Popup({{"&Close", kCloseSpotifyCommand}, {"&Debug", kDebugKeysCommand}, {"&Google Lyrics", kLyricsCommand},
                            {"&Open", kOpenSpotifyCommand},
                            {"&Reset Window", kResetWindowCommand}, {"&Star", kStarMenuCommand}})},
        {"&Adquell", Popup({{"&About", kAboutCommand}, {"De&bug", kDebugConsoleCommand}, {"&Donate", kDonateCommand}})},
    };
    for (const auto& p : popups)
        AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(p.menu), p.caption);
    if (StartsWithWindows(program.os.installer)) CheckMenuItem(bar, kStartWithWindowsCommand, MF_BYCOMMAND | MF_CHECKED);
    SetMenu(main, bar);
}

void AddTrayIcon(Program& program) {
    NOTIFYICONDATAA record = TrayRecord(program);
    Shell_NotifyIconA(NIM_ADD, &record);
    program.win32.controls.trayIconShown = true;
    program.win32.controls.ShowPendingNotice();  // what was said meanwhile, e.g. no Spotify at start-up
}

void RemoveTrayIcon(Program& program) {
    program.win32.controls.trayIconShown = false;
    NOTIFYICONDATAA record = TrayRecord(program);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

void HideMainWindow(Program& program) {
    ShowWindow(program.shell.main, SW_HIDE);
    if (TheDebugLog().consoleShown) ShowWindow(static_cast<HWND>(TheDebugLog().consoleWindow.load()), SW_HIDE);
}

void ShowMainWindow(Program& program) {
    if (TheDebugLog().consoleShown) ShowWindow(static_cast<HWND>(TheDebugLog().consoleWindow.load()), SW_SHOW);
    ShowWindow(program.shell.main, SW_RESTORE);
    SetForegroundWindow(program.shell.main);
}

void OnTrayCallback(Program& program, LPARAM mouseMessage) {
    ShellWindows& shell = program.shell;
    if (mouseMessage == NIN_BALLOONUSERCLICK) {  // a notice clicked: the window it speaks for
        shell.mainWindowShown = true;
        ShowMainWindow(program);
        return;
    }
    if (mouseMessage == WM_LBUTTONUP) {
        shell.mainWindowShown = !shell.mainWindowShown;
        if (shell.mainWindowShown) ShowMainWindow(program);
        else HideMainWindow(program);
        return;
    }
    if (mouseMessage != WM_RBUTTONUP) return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(shell.main);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(shell.trayMenu.get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, shell.main, nullptr));
    SendMessageA(shell.main, WM_NULL, 0, 0);
    if (chosen == kTrayExitCommand) EndFromTray(program, false);
    else if (chosen == kTrayZelmorCommand) EndFromTray(program, true);
}
