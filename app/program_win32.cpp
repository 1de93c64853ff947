// The program's entry: its objects built in order, start-up of the windows,
// controls, tray icon, timers and login watcher, and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "app/dpi_layout_win32.h"
#include "app/program_win32.h"
#include "blocking/detection_loop.h"
#include "blocking/mute_control.h"
#include "client/client_process.h"
#include "install/removal.h"
#include "install/removal_win32.h"
#include "install/windows_entries.h"
#include "platform/signature_check_win32.h"
#include "settings/hotkeys.h"

namespace {

// Only for what Windows calls without a context (console events, a crash):
// the one running program, set once it is built.
Program* runningProgram = nullptr;

const std::string kMainTitle = std::string("Adquell Lite ") + ProgramVersion;

bool RegisterWindowClass(Program& program, HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(101));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(101));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = program.background.get();
    wc.lpszClassName = "Adquell";
    return RegisterClassExA(&wc) != 0;
}

// Every window of the program carries it as its creation parameter.
HWND PixelWindow(Program& program, HINSTANCE instance, const char* title, int w, int h, HWND owner) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, "Adquell", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, w,
                           h, owner, nullptr, instance, &program);
}

// Sizes in 96-DPI units, made for the system's scale.
HWND TopWindow(Program& program, HINSTANCE instance, const char* title, int w, int h, HWND owner) {
    const int dpi = SystemDpi();
    return PixelWindow(program, instance, title, ScaleToDpi(w, dpi), ScaleToDpi(h, dpi), owner);
}

HWND Control(HINSTANCE instance, HWND parent, const char* cls, const char* caption, DWORD style, int id, int x,
             int y, int w, int h) {
    return CreateScaledControl(parent, instance, cls, caption, style, id, x, y, w, h);
}

void Fail(const char* text) {
    MessageBoxA(nullptr, text, "Error!", MB_ICONEXCLAMATION | MB_OK);
}

void CreateAboutControls(ShellWindows& shell, HINSTANCE instance) {
    Control(instance, shell.about, "static", kMainTitle.c_str(), SS_CENTER, 0, 10, 20, 320, 20);
    shell.counterLabel = Control(instance, shell.about, "static", "Adquelled: 0", SS_CENTER, 0, 0, 40, 340, 20);
    // The home page's name, centred where it fits; a click opens the page.
    shell.linkLabel = Control(instance, shell.about, "static", kHomePageName, SS_CENTER | SS_NOTIFY, 0, 10, 60, 320, 20);
}

void CreateMainControls(ShellWindows& shell, HINSTANCE instance) {
    HWND m = shell.main;
    shell.statusLabel = Control(instance, m, "static", kIdleStatusText, SS_CENTER, 0, 0, 8, 340, 45);
    shell.muteBox = Control(instance, m, "BUTTON", "Mute Adverts", BS_AUTOCHECKBOX, kMuteBoxId, 10, 50, 110, 25);
    shell.playBox = Control(instance, m, "BUTTON", "Play MP3", BS_AUTOCHECKBOX, kPlayBoxId, 133, 50, 100, 25);
    shell.hotkeysBox = Control(instance, m, "BUTTON", "Hotkeys", BS_AUTOCHECKBOX, kHotkeysBoxId, 255, 50, 130, 25);
    Control(instance, m, "BUTTON", "Previous", BS_PUSHBUTTON, kPreviousButtonId, 10, 80, 75, 25);
    Control(instance, m, "BUTTON", "Star", BS_PUSHBUTTON, kStarButtonId, 92, 80, 75, 25);
    shell.playButton = Control(instance, m, "BUTTON", "Play", BS_PUSHBUTTON, kPlayButtonId, 174, 80, 75, 25);
    Control(instance, m, "BUTTON", "Next", BS_PUSHBUTTON, kNextButtonId, 255, 80, 75, 25);
    shell.volumeSlider = Control(instance, m, TRACKBAR_CLASSA, "", TBS_FIXEDLENGTH, kVolumeSliderId, 10, 110, 320, 25);
    SendMessageA(shell.volumeSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageA(shell.volumeSlider, TBM_SETPAGESIZE, 0, 4);
    SendMessageA(shell.volumeSlider, TBM_SETTICFREQ, 10, 0);
    SendMessageA(shell.volumeSlider, TBM_SETSEL, FALSE, MAKELPARAM(0, 100));
    SendMessageA(shell.volumeSlider, TBM_SETPOS, TRUE, 100);
}

// The controls the other parts write, once they exist.
void ConnectControls(Program& program) {
    const ShellWindows& shell = program.shell;
    Win32MainControls& c = program.win32.controls;
    c.statusLabel = shell.statusLabel;
    c.counterLabel = shell.counterLabel;
    c.playButton = shell.playButton;
    c.volumeSlider = shell.volumeSlider;
    c.hotkeysBox = shell.hotkeysBox;
    c.playBox = shell.playBox;
    c.trayWindow = shell.main;
    c.trayIconId = kTrayIconId;
    program.win32.registrar.window = shell.main;
}

// The program's windows the other parts use, once all exist.
void ConnectWindows(Program& program) {
    const ShellWindows& shell = program.shell;
    ProgramWindows& w = program.os.windows;
    w.main = shell.main;
    w.about = shell.about;
    w.hotkeys = shell.hotkeys;
    w.container = shell.container;
    w.popups = shell.popups;
}

void ParkOffScreen(const ApplicationState& app, HWND window) {
    SetWindowPos(window, HWND_BOTTOM, app.screenWidth, app.screenHeight, 0, 0, SWP_NOSIZE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

BOOL CALLBACK SetControlFont(HWND control, LPARAM shellWindows) {
    const ShellWindows& shell = *reinterpret_cast<const ShellWindows*>(shellWindows);
    if (control == shell.volumeSlider) return TRUE;
    HFONT font = FontAtDpi(WindowDpi(control), control == shell.linkLabel);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return TRUE;
}

void SetOptionBoxes(Program& program) {
    ApplicationState& app = *program.app;
    if (app.muteAdverts) SendMessageA(program.shell.muteBox, BM_SETCHECK, BST_CHECKED, 0);
    if (app.playMp3) SendMessageA(program.shell.playBox, BM_SETCHECK, BST_CHECKED, 0);
    RegisterStartUpHotkeys(app, program.os);
}

// True for the first copy, which keeps the claim until it ends or hands over.
bool ClaimOnlyInstance(Win32InstallerSystem& installer) {
    HANDLE claim = CreateMutexA(nullptr, FALSE, kInstanceClaimName);
    if (!claim) return true;  // nothing to coordinate with
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        return false;
    }
    installer.instanceClaim = claim;
    return true;
}

// A second start: the running copy shows its main window, this one ends.
void ShowRunningCopy() {
    DWORD process = 0;
    HWND running = FindOtherRunningCopy(&process);
    if (!running) return;
    AllowSetForegroundWindow(process);
    PostMessageA(running, kShowMainWindowMessage, 0, 0);
}

// Runs on a thread of its own (console closed, Ctrl+C, Ctrl+Break, log-off,
// shutdown): the window's thread leaves Spotify as found, then the process ends.
// From a thread other than the window's: the window's thread gives Spotify
// back and ends the program. Should it be giving Spotify back already, that
// is waited for; should it not answer in time, the process ends all the same
// (its restore record stays for the next start).
void EndFromAnotherThread() {
    constexpr DWORD kDeadlineMs = 4000;
    const DWORD start = GetTickCount();
    DWORD_PTR result = 0;
    HWND main = runningProgram ? runningProgram->shell.main : nullptr;
    if (main) SendMessageTimeoutA(main, kEndProgramMessage, 0, 0, SMTO_NORMAL, kDeadlineMs, &result);
    const DWORD spent = GetTickCount() - start;
    if (main && spent < kDeadlineMs) WaitForSingleObject(runningProgram->givenBack.get(), kDeadlineMs - spent);
}

BOOL WINAPI OnConsoleEvent(DWORD) {
    EndFromAnotherThread();
    ExitProcess(kPlannedExitCode);
    return TRUE;
}

// A crash on the window's thread gives Spotify back there; one on another
// thread (a worker, the login watcher) asks the window's thread, which owns
// what is being done to Spotify.
LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    HWND main = runningProgram ? runningProgram->shell.main : nullptr;
    if (main && GetWindowThreadProcessId(main, nullptr) != GetCurrentThreadId()) EndFromAnotherThread();
    else if (runningProgram) LeaveSpotifyOnce(*runningProgram);
    return EXCEPTION_EXECUTE_HANDLER;
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The five windows, their controls and fonts; false when the main window
// could not be made.
bool CreateWindows(Program& program, HINSTANCE instance) {
    ShellWindows& shell = program.shell;
    const ApplicationState& app = *program.app;
    shell.font = FontAtDpi(SystemDpi(), false);
    if (!RegisterWindowClass(program, instance)) {
        Fail("Window Registration Failed!");
        return false;
    }
    shell.desktop = FindWindowA("Progman", "Program Manager");
    shell.main = TopWindow(program, instance, kMainTitle.c_str(), 360, 210, nullptr);
    if (!shell.main) {
        Fail("Window Creation Failed!");
        return false;
    }
    shell.about = TopWindow(program, instance, "About", 360, 140, shell.main);
    CreateAboutControls(shell, instance);
    CreateMainControls(shell, instance);
    ConnectControls(program);
    SetOptionBoxes(program);
    shell.hotkeys = TopWindow(program, instance, "Set Hotkeys", 270, 207, shell.main);
    if (!shell.hotkeys) Fail("Window Creation Failed!");
    // The hosts have the screen's size, which is in pixels already.
    shell.container = PixelWindow(program, instance, "SpotifyContainer", app.screenWidth, app.screenHeight, shell.desktop);
    if (!shell.container) Fail("Window Creation Failed!");
    shell.popups = PixelWindow(program, instance, "SpotifyPopups", app.screenWidth, app.screenHeight, shell.desktop);
    ParkOffScreen(app, shell.container);
    ParkOffScreen(app, shell.popups);
    ConnectWindows(program);
    shell.hotkeyControls = CreateHotkeyWindowControls(shell.hotkeys, instance, shell.font);
    for (HWND w : {shell.main, shell.about, shell.hotkeys})
        EnumChildWindows(w, SetControlFont, reinterpret_cast<LPARAM>(&shell));
    return true;
}

// Whether the command line holds a switch as a word of its own.
bool HasSwitch(const std::string& arguments, const char* name) {
    const std::string padded = " " + arguments + " ";
    return padded.find(std::string(" ") + name + " ") != std::string::npos;
}

// The installed-apps entry's command.
int RemoveFromThisComputer() {
    auto win32 = std::make_unique<Win32Platform>();
    return RemoveProgram(win32->platform, win32->installer);
}

}  // namespace

Program& ProgramOf(HWND window) {
    return *reinterpret_cast<Program*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

namespace {

// After Spotify has been given back: what the ends asked for, then the end.
void FinishProgram(Program& program) {
    if (program.endSpotify && program.app) KillSpotify(*program.app, program.os);
    program.win32.filler.Release();
    StopWorkers(program);
    ExitProcess(static_cast<UINT>(program.exitCode));
}

}  // namespace

void LeaveSpotifyOnce(Program& program) {
    if (program.leftSpotify) return;
    program.leftSpotify = true;
    program.givingBack = true;
    RemoveTrayIcon(program);
    if (program.app) LeaveSpotifyAsFound(*program.app, program.os);
    program.givingBack = false;
    SetEvent(program.givenBack.get());
    if (program.exitCode >= 0) FinishProgram(program);  // asked for meanwhile
}

void EndProgram(Program& program, int exitCode, bool endSpotify) {
    if (program.exitCode < 0) program.exitCode = exitCode;
    program.endSpotify = program.endSpotify || endSpotify;
    if (program.givingBack) return;  // the end under way carries it out
    AskWorkersToStop(program);
    LeaveSpotifyOnce(program);
    FinishProgram(program);
}

void ComeBackToSpotify(Program& program) {
    if (!program.leftSpotify) return;
    program.leftSpotify = false;
    ResetEvent(program.givenBack.get());
    AddTrayIcon(program);
    ComeBackAfterCancelledEnd(*program.app);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    const std::string arguments = commandLine ? commandLine : "";
    if (RunDeleteAfterHelper(arguments)) return 0;
    if (HasSwitch(arguments, kRemoveSwitch)) return RemoveFromThisComputer();
    // COM and the common controls first: the platform's media player and the
    // volume slider's class need them, whatever the shell has loaded.
    ComApartment com;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    auto program = std::make_unique<Program>();
    Win32InstallerSystem& installer = program->win32.installer;
    if (!ClaimOnlyInstance(installer)) {
        ShowRunningCopy();
        return kPlannedExitCode;
    }
    program->app = std::make_unique<ApplicationState>(program->os);
    // A volume owed from an earlier run: the first tick gives it back, as
    // every tick does while one is owed.
    LoadPendingRestore(*program->app, program->os);
    program->ticks = TickTarget{program->app.get(), &program->os};
    runningProgram = program.get();
    installer.endProgram = [p = program.get()](int code) { EndProgram(*p, code); };
    installer.onHandOver = [p = program.get()] { RemoveTrayIcon(*p); };
    installer.onTakeBack = [p = program.get()] { AddTrayIcon(*p); };
    installer.startUpdateCheck = [p = program.get()](const std::string& base, const std::string& folder) {
        StartUpdateWorker(*p, base, folder);
    };
    installer.updateKey = BuiltInUpdateKey();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    SetUnhandledExceptionFilter(OnCrash);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!CreateWindows(*program, instance)) return 0;
    HWND main = program->shell.main;
    AddTrayIcon(*program);
    program->shell.mainWindowShown = true;
    ShowWindow(main, show);
    UpdateWindow(main);
    // The saved MP3 folder is read now that there is a window to hear the end.
    StartMp3Reading(*program, StartUpMp3Reading(*program->app));
    SetTickTarget(main, &program->ticks);
    ArmAdvertTimers(main);
    ArmHotkeyRetryTimer(main);
    DWORD watcherId = 0;
    StartLoginWatcherThread(main, &watcherId);
    RunMessageLoop();
    // Only a failing message loop gets here; the login watcher may still be
    // using the program's objects, which end with the process.
    EndProgram(*program.release(), kPlannedExitCode);
    return kPlannedExitCode;
}
