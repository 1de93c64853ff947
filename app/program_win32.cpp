// The program's entry: the process-wide objects, start-up of the windows,
// controls, tray icon, timers and login watcher, and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "app/advert_timers_win32.h"
#include "app/dpi_layout_win32.h"
#include "app/main_commands.h"
#include "app/program_win32.h"
#include "platform/signature_check_win32.h"
#include "settings/hotkeys.h"

namespace {

// Process-wide objects: the platform with its keystroke engine and filler
// player and the background brush are built before the entry point runs; the
// application object, whose construction reads the options file, finds or
// starts Spotify and may restore its volume, only once this copy knows it is
// the only one.
Win32Platform win32Platform;
HBRUSH backgroundBrush = CreateSolidBrush(RGB(31, 31, 31));
std::unique_ptr<ApplicationState> theApplication;
ShellWindows shell;
bool leftSpotify = false;

const std::string kMainTitle = std::string("Adquell Lite ") + ProgramVersion;

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(101));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(101));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = backgroundBrush;
    wc.lpszClassName = "Adquell";
    return RegisterClassExA(&wc) != 0;
}

// Sizes in 96-DPI units, made for the system's scale.
HWND TopWindow(HINSTANCE instance, const char* title, int w, int h, HWND owner, void* param = nullptr) {
    const int dpi = SystemDpi();
    return CreateWindowExA(WS_EX_CLIENTEDGE, "Adquell", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           ScaleToDpi(w, dpi), ScaleToDpi(h, dpi), owner, nullptr, instance, param);
}

HWND Control(HINSTANCE instance, HWND parent, const char* cls, const char* caption, DWORD style, int id, int x,
             int y, int w, int h) {
    return CreateScaledControl(parent, instance, cls, caption, style, id, x, y, w, h);
}

void Fail(const char* text) {
    MessageBoxA(nullptr, text, "Error!", MB_ICONEXCLAMATION | MB_OK);
}

void CreateAboutControls(HINSTANCE instance) {
    Control(instance, shell.about, "static", kMainTitle.c_str(), SS_CENTER, 0, 10, 20, 320, 20);
    shell.counterLabel = Control(instance, shell.about, "static", "Adquelled: 0", SS_CENTER, 0, 0, 40, 340, 20);
    // The home page's name, centred where it fits; a click opens the page.
    shell.linkLabel = Control(instance, shell.about, "static", kHomePageName, SS_CENTER | SS_NOTIFY, 0, 10, 60, 320, 20);
}

void CreateMainControls(HINSTANCE instance) {
    HWND m = shell.main;
    shell.statusLabel = Control(instance, m, "static", "^__^", SS_CENTER, 0, 0, 8, 340, 45);
    shell.muteBox = Control(instance, m, "BUTTON", "Mute Adverts", BS_AUTOCHECKBOX, 1, 10, 50, 110, 25);
    shell.playBox = Control(instance, m, "BUTTON", "Play MP3", BS_AUTOCHECKBOX, 2, 133, 50, 100, 25);
    shell.hotkeysBox = Control(instance, m, "BUTTON", "Hotkeys", BS_AUTOCHECKBOX, 3, 255, 50, 130, 25);
    Control(instance, m, "BUTTON", "Previous", BS_PUSHBUTTON, 9021, 10, 80, 75, 25);
    Control(instance, m, "BUTTON", "Star", BS_PUSHBUTTON, 9022, 92, 80, 75, 25);
    shell.playButton = Control(instance, m, "BUTTON", "Play", BS_PUSHBUTTON, 9023, 174, 80, 75, 25);
    Control(instance, m, "BUTTON", "Next", BS_PUSHBUTTON, 9020, 255, 80, 75, 25);
    shell.volumeSlider = Control(instance, m, TRACKBAR_CLASSA, "", TBS_FIXEDLENGTH, 9024, 10, 110, 320, 25);
    SendMessageA(shell.volumeSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageA(shell.volumeSlider, TBM_SETPAGESIZE, 0, 4);
    SendMessageA(shell.volumeSlider, TBM_SETTICFREQ, 10, 0);
    SendMessageA(shell.volumeSlider, TBM_SETSEL, FALSE, MAKELPARAM(0, 100));
    SendMessageA(shell.volumeSlider, TBM_SETPOS, TRUE, 100);
}

// The controls the other parts write, once they exist.
void ConnectControls() {
    Win32MainControls& c = win32Platform.controls;
    c.statusLabel = shell.statusLabel;
    c.counterLabel = shell.counterLabel;
    c.playButton = shell.playButton;
    c.volumeSlider = shell.volumeSlider;
    c.hotkeysBox = shell.hotkeysBox;
    win32Platform.registrar.window = shell.main;
}

// The program's windows the other parts use, once all exist.
void ConnectWindows() {
    ProgramWindows& w = win32Platform.platform.windows;
    w.main = shell.main;
    w.about = shell.about;
    w.hotkeys = shell.hotkeys;
    w.container = shell.container;
    w.popups = shell.popups;
}

void ParkOffScreen(HWND window) {
    const ApplicationState& application = *theApplication;
    SetWindowPos(window, HWND_BOTTOM, application.screenWidth, application.screenHeight, 0, 0, SWP_NOSIZE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

BOOL CALLBACK SetControlFont(HWND control, LPARAM) {
    if (control == shell.volumeSlider) return TRUE;
    HFONT font = FontAtDpi(WindowDpi(control), control == shell.linkLabel);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return TRUE;
}

void SetOptionBoxes() {
    ApplicationState& application = *theApplication;
    if (application.muteAdverts) SendMessageA(shell.muteBox, BM_SETCHECK, BST_CHECKED, 0);
    if (application.playMp3) SendMessageA(shell.playBox, BM_SETCHECK, BST_CHECKED, 0);
    RegisterStartUpHotkeys(application, win32Platform.platform);
}

// True for the first copy, which keeps the claim until it ends or hands over.
bool ClaimOnlyInstance() {
    HANDLE claim = CreateMutexA(nullptr, FALSE, kInstanceClaimName);
    if (!claim) return true;  // nothing to coordinate with
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        return false;
    }
    win32Platform.installer.instanceClaim = claim;
    return true;
}

BOOL CALLBACK FindRunningMain(HWND window, LPARAM found) {
    char cls[32] = {}, title[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (std::string(cls) != "Adquell" || std::string(title).rfind("Adquell Lite ", 0) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A second start: the running copy shows its main window, this one ends.
void ShowRunningCopy() {
    HWND running = nullptr;
    EnumWindows(FindRunningMain, reinterpret_cast<LPARAM>(&running));
    if (!running) return;
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    PostMessageA(running, kShowMainWindowMessage, 0, 0);
}

// Runs on a thread of its own (console closed, Ctrl+C, Ctrl+Break, log-off,
// shutdown): the window's thread leaves Spotify as found, then the process ends.
BOOL WINAPI OnConsoleEvent(DWORD) {
    DWORD_PTR result = 0;
    if (shell.main) SendMessageTimeoutA(shell.main, kLeaveSpotifyMessage, 0, 0, SMTO_NORMAL, 4000, &result);
    ExitProcess(kNormalExitCode);
    return TRUE;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    LeaveSpotifyOnce();
    return EXCEPTION_EXECUTE_HANDLER;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return kNormalExitCode;
}

}  // namespace

Win32Platform& TheWin32Platform() {
    return win32Platform;
}

ApplicationState& TheApplication() {
    return *theApplication;
}

ShellWindows& TheShell() {
    return shell;
}

HBRUSH BackgroundBrush() {
    return backgroundBrush;
}

void LeaveSpotifyOnce() {
    if (leftSpotify) return;
    leftSpotify = true;
    RemoveTrayIcon();
    if (theApplication) LeaveSpotifyAsFound(*theApplication, win32Platform.platform);
}

void ComeBackToSpotify() {
    if (!leftSpotify) return;
    leftSpotify = false;
    AddTrayIcon();
    ComeBackAfterCancelledEnd(*theApplication);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (!ClaimOnlyInstance()) {
        ShowRunningCopy();
        return kNormalExitCode;
    }
    theApplication = std::make_unique<ApplicationState>(win32Platform.platform);
    ApplicationState& application = *theApplication;
    win32Platform.installer.beforeExit = LeaveSpotifyOnce;
    win32Platform.installer.updateKey = BuiltInUpdateKey();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    SetUnhandledExceptionFilter(OnCrash);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // The volume slider's class must exist, whatever the shell has loaded.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    shell.font = FontAtDpi(SystemDpi(), false);
    shell.underlinedFont = FontAtDpi(SystemDpi(), true);
    if (!RegisterWindowClass(instance)) {
        Fail("Window Registration Failed!");
        return 0;
    }
    shell.desktop = FindWindowA("Progman", "Program Manager");
    shell.main = TopWindow(instance, kMainTitle.c_str(), 360, 210, nullptr, reinterpret_cast<void*>(1));
    if (!shell.main) {
        Fail("Window Creation Failed!");
        return 0;
    }
    shell.about = TopWindow(instance, "About", 360, 140, shell.main);
    CreateAboutControls(instance);
    CreateMainControls(instance);
    ConnectControls();
    SetOptionBoxes();
    shell.hotkeys = TopWindow(instance, "Set Hotkeys", 270, 207, shell.main);
    if (!shell.hotkeys) Fail("Window Creation Failed!");
    shell.container = TopWindow(instance, "SpotifyContainer", application.screenWidth, application.screenHeight,
                                shell.desktop);
    if (!shell.container) Fail("Window Creation Failed!");
    shell.popups = TopWindow(instance, "SpotifyPopups", application.screenWidth, application.screenHeight,
                             shell.desktop);
    ParkOffScreen(shell.container);
    ParkOffScreen(shell.popups);
    ConnectWindows();
    shell.hotkeyControls = CreateHotkeyWindowControls(shell.hotkeys, instance, shell.font);
    for (HWND w : {shell.main, shell.about, shell.hotkeys})
        EnumChildWindows(w, SetControlFont, reinterpret_cast<LPARAM>(shell.font));
    AddTrayIcon();
    shell.mainWindowShown = true;
    ShowWindow(shell.main, show);
    UpdateWindow(shell.main);
    CoInitialize(nullptr);
    SetTickTarget(&application, &win32Platform.platform);
    ArmAdvertTimers(shell.main);
    DWORD watcherId = 0;
    StartLoginWatcherThread(shell.main, &watcherId);
    const int code = RunMessageLoop();
    win32Platform.filler.Release();
    CoUninitialize();
    return code;
}
