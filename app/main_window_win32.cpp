// The one window procedure of the program's five windows: each message goes
// to a small handler, each command to the operation it stands for.
#include <windows.h>
#include <commctrl.h>

#include "app/advert_timers_win32.h"
#include "app/dpi_layout_win32.h"
#include "app/log.h"
#include "app/main_commands.h"
#include "app/program_win32.h"
#include "client/client_process.h"
#include "client/star_and_lyrics.h"
#include "client/window_parking.h"
#include "music/mp3_folder_dialogs_win32.h"
#include "music/mp3_index.h"
#include "settings/hotkey_dialog.h"
#include "settings/hotkeys.h"

namespace {

ApplicationState& App() {
    return TheApplication();
}

Platform& Os() {
    return TheWin32Platform().platform;
}

bool Checked(HWND box) {
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ShowAndPaint(HWND window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

void OpenPage(const char* address) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void CommandMuteBox(HWND from) {
    if (from != TheShell().main) return;  // the hotkey window's check boxes share id 1
    OnMuteAdvertsBox(App(), Os(), Checked(TheShell().muteBox));
}

void CommandPlayBox(HWND) {
    Win32Mp3FolderDialogs dialogs(TheShell().main);
    const bool checked = OnPlayMp3Box(App(), Os(), dialogs, Checked(TheShell().playBox));
    if (!checked && Checked(TheShell().playBox)) SendMessageA(TheShell().playBox, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CommandHotkeysBox(HWND) {
    OnHotkeysBox(App(), Os(), Checked(TheShell().hotkeysBox));
}

void CommandExit(HWND) {
    LeaveSpotifyOnce();
    ExitProcess(1);
}

void CommandZelmor(HWND) {
    RemoveTrayIcon();
    KillSpotify(Os());
    ExitProcess(kNormalExitCode);
}

void CommandSetFolder(HWND) {
    Win32Mp3FolderDialogs dialogs(TheShell().main);
    SelectMp3Folder(App(), Os().folders, dialogs);
}

void CommandSetHotkey(HWND) {
    Win32HotkeyDialog dialog(TheShell().hotkeyControls);
    OnSetHotkey(App(), Os(), dialog);
}

struct Command {
    int id;
    void (*run)(HWND from);
};

const Command kCommands[] = {
    {1, CommandMuteBox},
    {2, CommandPlayBox},
    {3, CommandHotkeysBox},
    {919, [](HWND) { OpenDebugConsole(); }},
    {9001, CommandExit},
    {9002, CommandZelmor},
    {9003, [](HWND) { ShowAndPaint(TheShell().hotkeys); }},
    {9004, CommandSetFolder},
    {9008, CommandSetHotkey},
    {9009, [](HWND) { StartSpotify(App(), Os()); }},
    {9010, [](HWND) { KillSpotify(Os()); }},
    {9011, [](HWND) { SearchLyrics(App(), Os()); }},
    {9012, [](HWND) { ResetSpotifyWindow(App(), Os()); }},
    {9014, [](HWND) { StarTrack(App(), Os()); }},
    {9015, [](HWND) { SendDebugKeys(App(), Os()); }},
    {9016, [](HWND) { ShowAndPaint(TheShell().about); }},
    {9017, [](HWND) { OpenPage(kDonatePage); }},
    {9020, [](HWND) { OnNextButton(App(), Os()); }},
    {9021, [](HWND) { OnPreviousButton(App(), Os()); }},
    {9022, [](HWND) { StarTrack(App(), Os()); }},
    {9023, [](HWND) { OnPlayButton(App(), Os()); }},
};

void MsgCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    ShellWindows& shell = TheShell();
    if (from && from == shell.hotkeyControls.functionList && code == CBN_SELCHANGE) {
        Win32HotkeyDialog dialog(shell.hotkeyControls);
        OnHotkeyFunctionChosen(App(), dialog);
        return;
    }
    if (from && from == shell.linkLabel && code == STN_CLICKED) {
        OpenPage(kHomePage);
        return;
    }
    for (const Command& c : kCommands)
        if (c.id == id) c.run(window);
}

// Closing the main, About or hotkey window only hides it.
bool MsgClose(HWND window) {
    ShellWindows& shell = TheShell();
    if (window == shell.main) {
        HideMainWindow();
        shell.mainWindowShown = false;
        return true;
    }
    if (window == shell.about || window == shell.hotkeys) {
        ShowWindow(window, SW_HIDE);
        return true;
    }
    return false;
}

// Windows asks before it logs off or shuts down, then says whether it does.
LRESULT MsgQueryEndSession() {
    LeaveSpotifyOnce();
    return TRUE;
}

void MsgEndSession(WPARAM ending) {
    if (!ending) {
        ComeBackToSpotify();
        return;
    }
    LeaveSpotifyOnce();
    ExitProcess(kNormalExitCode);
}

void MsgShowMainWindow() {
    ShowMainWindow();
    TheShell().mainWindowShown = true;
}

LRESULT MsgCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    const bool link = reinterpret_cast<HWND>(lParam) == TheShell().linkLabel;
    SetTextColor(dc, link ? RGB(0, 0, 255) : RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(BackgroundBrush());
}

void MsgVolume(LPARAM lParam) {
    HWND slider = TheShell().volumeSlider;
    if (reinterpret_cast<HWND>(lParam) != slider) return;
    OnVolumeSlider(App(), Os(), static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)));
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create->lpCreateParams == reinterpret_cast<void*>(1)) BuildMenus(window);
        break;
    }
    case WM_CLOSE:
        if (MsgClose(window)) return 0;
        break;
    case WM_DESTROY:
        if (window != TheShell().main) break;
        LeaveSpotifyOnce();
        ExitProcess(kNormalExitCode);
    case WM_QUERYENDSESSION:
        if (window == TheShell().main) return MsgQueryEndSession();
        break;
    case WM_ENDSESSION:
        if (window == TheShell().main) MsgEndSession(wParam);
        return 0;
    case kLeaveSpotifyMessage:
        LeaveSpotifyOnce();
        return 0;
    case kShowMainWindowMessage:
        MsgShowMainWindow();
        return 0;
    case WM_DPICHANGED:
        OnWindowDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam), TheShell().volumeSlider,
                           TheShell().linkLabel);
        return 0;
    case WM_COMMAND:
        MsgCommand(window, wParam, lParam);
        break;
    case WM_HSCROLL:
        MsgVolume(lParam);
        break;
    case WM_CTLCOLORSTATIC:
        return MsgCtlColorStatic(wParam, lParam);
    case WM_HOTKEY:
        DispatchHotkey(App(), Os(), static_cast<int>(wParam));
        break;
    case kTrayCallbackMessage:
        OnTrayCallback(lParam);
        break;
    default:
        if (message == TaskbarCreatedMessage() && window == TheShell().main) AddTrayIcon();  // the shell restarted
        if (OnAdvertTimersRequest(window, message)) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
