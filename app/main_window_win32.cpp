// The one window procedure of the program's five windows: each message goes
// to a small handler, each command to the operation it stands for.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "app/advert_timers_win32.h"
#include "app/dpi_layout_win32.h"
#include "platform/label_font_win32.h"
#include "base/log.h"
#include "blocking/detection_loop.h"
#include "blocking/spotify_sequence.h"
#include "app/main_commands.h"
#include "app/program_win32.h"
#include "client/client_process.h"
#include "client/star_and_lyrics.h"
#include "client/window_parking.h"
#include "install/windows_entries.h"
#include "music/mp3_folder_dialogs_win32.h"
#include "music/mp3_index.h"
#include "settings/hotkey_dialog.h"
#include "app/hotkey_commands.h"
#include "settings/hotkeys.h"

namespace {

bool Checked(HWND box) {
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ShowAndPaint(HWND window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

// A command that drives Spotify waits until what is being done to it (a
// mute, an advert's end) is over, then looks at Spotify's window (an idle
// tick does not) before it clicks or reads it.
void WhenFree(Program& p, std::function<void(ApplicationState&, Platform&)> command) {
    ApplicationState& app = *p.app;
    Platform& os = p.os;
    WhenSpotifyIsFree(app, [&app, &os, command] {
        KeepSpotifyCapturable(app, os);
        command(app, os);
    });
    KeepSequenceGoing(p.shell.main);
}

void CommandMuteBox(Program& p, HWND from) {
    if (from != p.shell.main) return;  // the hotkey window's check boxes share id 1
    const bool checked = Checked(p.shell.muteBox);
    WhenFree(p, [checked](ApplicationState& app, Platform& os) { OnMuteAdvertsBox(app, os, checked); });
}

void CommandPlayBox(Program& p, HWND) {
    Win32Mp3FolderDialogs dialogs(p.shell.main);
    Mp3FolderReading toRead;
    const bool checked = OnPlayMp3Box(*p.app, p.os, dialogs, Checked(p.shell.playBox), toRead);
    if (!checked && Checked(p.shell.playBox)) SendMessageA(p.shell.playBox, BM_SETCHECK, BST_UNCHECKED, 0);
    StartMp3Reading(p, std::move(toRead));
}

void CommandHotkeysBox(Program& p, HWND) {
    OnHotkeysBox(*p.app, p.os, Checked(p.shell.hotkeysBox));
}

void CommandExit(Program& p, HWND) {
    EndProgram(p, kMenuExitCode);
}

void CommandZelmor(Program& p, HWND) {
    EndProgram(p, kPlannedExitCode, true);
}

void CommandSetFolder(Program& p, HWND) {
    Win32Mp3FolderDialogs dialogs(p.shell.main);
    StartMp3Reading(p, ChooseMp3Folder(*p.app, dialogs));
}

void CommandStartWithWindows(Program& p, HWND) {
    const bool on = SetStartWithWindows(p.os, !StartsWithWindows(p.os.installer));
    CheckMenuItem(GetMenu(p.shell.main), kStartWithWindowsCommand, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CommandSetHotkey(Program& p, HWND) {
    Win32HotkeyDialog dialog(p.shell.hotkeyControls);
    OnSetHotkey(*p.app, p.os, dialog);
}

struct Command {
    int id;
    void (*run)(Program& p, HWND from);
};

const Command kCommands[] = {
    {kMuteBoxId, CommandMuteBox},
    {kPlayBoxId, CommandPlayBox},
    {kHotkeysBoxId, CommandHotkeysBox},
    {kDebugConsoleCommand, [](Program&, HWND) { OpenDebugConsole(); }},
    {kExitCommand, CommandExit},
    {kZelmorCommand, CommandZelmor},
    {kSetHotkeysCommand, [](Program& p, HWND) { ShowAndPaint(p.shell.hotkeys); }},
    {kSetFolderCommand, CommandSetFolder},
    {kStartWithWindowsCommand, CommandStartWithWindows},
    {kHotkeySetId, CommandSetHotkey},
    {kOpenSpotifyCommand, [](Program& p, HWND) { StartSpotify(*p.app, p.os); }},
    {kCloseSpotifyCommand, [](Program& p, HWND) { WhenFree(p, CloseSpotify); }},
    {kLyricsCommand, [](Program& p, HWND) { WhenFree(p, SearchLyrics); }},
    {kResetWindowCommand, [](Program& p, HWND) { WhenFree(p, ResetSpotifyWindow); }},
    {kStarMenuCommand, [](Program& p, HWND) { WhenFree(p, StarTrack); }},
    {kDebugKeysCommand, [](Program& p, HWND) { WhenFree(p, SendDebugKeys); }},
    {kAboutCommand, [](Program& p, HWND) { ShowAndPaint(p.shell.about); }},
    {kDonateCommand, [](Program& p, HWND) { p.os.desktop.ShellOpen(kDonatePage); }},
    {kNextButtonId, [](Program& p, HWND) { WhenFree(p, OnNextButton); }},
    {kPreviousButtonId, [](Program& p, HWND) { WhenFree(p, OnPreviousButton); }},
    {kStarButtonId, [](Program& p, HWND) { WhenFree(p, StarTrack); }},
    {kPlayButtonId, [](Program& p, HWND) { WhenFree(p, OnPlayButton); }},
};

void MsgCommand(Program& p, HWND window, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    const ShellWindows& shell = p.shell;
    if (from && from == shell.hotkeyControls.functionList && code == CBN_SELCHANGE) {
        Win32HotkeyDialog dialog(shell.hotkeyControls);
        OnHotkeyFunctionChosen(*p.app, dialog);
        return;
    }
    if (from && from == shell.linkLabel && code == STN_CLICKED) {
        p.os.desktop.ShellOpen(kHomePage);
        return;
    }
    for (const Command& c : kCommands)
        if (c.id == id) c.run(p, window);
}

// Closing the main, About or hotkey window only hides it.
bool MsgClose(Program& p, HWND window) {
    ShellWindows& shell = p.shell;
    if (window == shell.main) {
        HideMainWindow(p);
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
LRESULT MsgQueryEndSession(Program& p) {
    LeaveSpotifyOnce(p);
    return TRUE;
}

void MsgEndSession(Program& p, WPARAM ending) {
    if (!ending) {
        ComeBackToSpotify(p);
        return;
    }
    EndProgram(p, kPlannedExitCode);
}

void MsgShowMainWindow(Program& p) {
    ShowMainWindow(p);
    p.shell.mainWindowShown = true;
}

LRESULT MsgCtlColorStatic(Program& p, WPARAM wParam, LPARAM lParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    const bool link = reinterpret_cast<HWND>(lParam) == p.shell.linkLabel;
    SetTextColor(dc, link ? RGB(0, 0, 255) : RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(p.background.get());
}

// A slider dragged while Spotify is busy moves it once, to where it was let go.
void MsgVolume(Program& p, LPARAM lParam) {
    HWND slider = p.shell.volumeSlider;
    if (reinterpret_cast<HWND>(lParam) != slider) return;
    const bool waiting = p.sliderWaiting;
    p.sliderPosition = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    p.sliderWaiting = true;
    if (waiting) return;
    WhenFree(p, [&p](ApplicationState& app, Platform& os) {
        p.sliderWaiting = false;
        OnVolumeSlider(app, os, p.sliderPosition);
    });
}

// The hotkeys that drive Spotify wait for it; switching hotkeys and the
// install (whose message boxes must not stop the ticks) do not.
void MsgHotkey(Program& p, int id) {
    if (id == kHotkeysOnOff || id == kInstallHotkeyId) {
        DispatchHotkey(*p.app, p.os, id);
        return;
    }
    WhenFree(p, [id](ApplicationState& app, Platform& os) { DispatchHotkey(app, os, id); });
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// The program arrives as the creation parameter and stays in the user data.
void MsgNcCreate(HWND window, LPARAM lParam) {
    void* program = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(program));
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) MsgNcCreate(window, lParam);
    if (!GetWindowLongPtrA(window, GWLP_USERDATA)) return DefWindowProcA(window, message, wParam, lParam);
    Program& p = ProgramOf(window);
    switch (message) {
    case WM_CREATE:
        if (!p.shell.main) BuildMenus(p, window);  // the first window made is the main one
        break;
    case WM_CLOSE:
        if (MsgClose(p, window)) return 0;
        break;
    case WM_DESTROY:
        if (window != p.shell.main) break;
        EndProgram(p, kPlannedExitCode);
        break;
    case WM_QUERYENDSESSION:
        if (window == p.shell.main) return MsgQueryEndSession(p);
        break;
    case WM_ENDSESSION:
        if (window == p.shell.main) MsgEndSession(p, wParam);
        return 0;
    case kEndProgramMessage:
    case kEndForRemovalMessage:
        EndProgram(p, kPlannedExitCode);
        return 0;
    case kNoticesShownMessage:
        return p.win32.controls.noticesShown;
    case kShowMainWindowMessage:
        MsgShowMainWindow(p);
        return 0;
    case WM_DPICHANGED:
        OnWindowDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam), p.shell.volumeSlider,
                           p.shell.linkLabel);
        // The label's font again at the new size, in the face its text needs.
        FitLabelFont(p.shell.statusLabel, p.win32.controls.ShownStatus());
        return 0;
    case WM_COMMAND:
        MsgCommand(p, window, wParam, lParam);
        break;
    case WM_HSCROLL:
        MsgVolume(p, lParam);
        break;
    case WM_CTLCOLORSTATIC:
        return MsgCtlColorStatic(p, wParam, lParam);
    case WM_HOTKEY:
        MsgHotkey(p, static_cast<int>(wParam));
        break;
    case kTrayCallbackMessage:
        OnTrayCallback(p, lParam);
        break;
    default:
        if (message == TaskbarCreatedMessage() && window == p.shell.main) AddTrayIcon(p);  // the shell restarted
        if (OnAdvertTimersRequest(window, message)) return 0;
        if (OnWorkerMessage(p, message, lParam)) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
