// The detection and image-advert timers and the login watcher, running in this
// process against the simulated client, as the program will run them.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "app/advert_timers_win32.h"
#include "base/log.h"
#include "client/client_process.h"
#include "app/win32_platform.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 20000;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnAdvertTimersRequest(window, message)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* title, int x, int y, int w, int h) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AdquellTestHost";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "AdquellTestHost", title, WS_POPUP, x, y, w, h, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

int CountLines(const std::string& text, const std::string& line) {
    std::istringstream in(text);
    int n = 0;
    for (std::string l; std::getline(in, l);) n += l == line;
    return n;
}

struct Timers : ::testing::Test {
    Win32Platform win;
    Platform& os = win.platform;
    ApplicationState app;
    TickTarget ticks{&app, &os};
    HWND main = nullptr;

    void SetUp() override {
        TheDebugLog().logBacklog.clear();
        app.screenWidth = os.desktop.ScreenWidth();
        app.screenHeight = os.desktop.ScreenHeight();
        main = MakeWindow("Adquell Lite", 0, 0, 10, 10);
        os.windows.main = main;
        os.windows.container = MakeWindow("SpotifyContainer", app.screenWidth, app.screenHeight, 100, 100);
        os.windows.popups = MakeWindow("SpotifyPopups", app.screenWidth, app.screenHeight, 100, 100);
        app.muteAdverts = true;
        SetTickTarget(main, &ticks);
    }
    void TearDown() override {
        KillAdvertTimers(main);
        DestroyWindow(static_cast<HWND>(os.windows.popups));
        DestroyWindow(static_cast<HWND>(os.windows.container));
        if (IsWindow(main)) DestroyWindow(main);
        TheDebugLog().logBacklog.clear();
    }
    HWND Connect(SimRig& rig, const std::string& script) {
        HWND w = rig.Start(script);
        if (!w) return nullptr;
        app.optionsPath = rig.Folder() + "Options.ini";
        std::ofstream(app.optionsPath, std::ios::binary) << " [Options]\r\n Mute=True\r\n";
        StartSpotify(app, os);
        return w;
    }
    // Runs this thread's messages (and so the timers) until done() or the deadline.
    template <typename Done>
    bool PumpUntil(Done done, DWORD deadlineMs) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > deadlineMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        return true;
    }
    void Pump(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }
    std::string Log() { return TheDebugLog().logBacklog; }
};

TEST_F(Timers, ThreeAdvertsAreSilencedAndEachTrackAfterThemPlaysAtTheUsersVolume) {
    SimRig rig("three-adverts");
    ASSERT_NE(Connect(rig,
                      "set volume 57\n"
                      "track  | One   | First     | 2000\n"
                      "advert | Brand | Ad one    | 1500\n"
                      "track  | Two   | Second    | 2000\n"
                      "advert | Brand | Ad two    | 1500\n"
                      "advert | Brand | Ad three  | 1500\n"
                      "track  | Three | Third     | 2500\n"),
              nullptr);
    ArmAdvertTimers(main);
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent(" end", 0).ms >= 0; }, 30000));
    KillAdvertTimers(main);
    EXPECT_EQ(app.advertsBlocked, 3);
    ASSERT_TRUE(rig.Close());
    const std::string summary = rig.Summary();
    EXPECT_NE(summary.find("adverts 3\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("track entry=2 volume=57 after_advert=1 user_volume=57 knob=167 user_knob=167 restored=1"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("track entry=5 volume=57 after_advert=1 user_volume=57 knob=167 user_knob=167 restored=1"),
              std::string::npos)
        << summary;
    EXPECT_EQ(CountLines(Log(), "Blocking:   Brand \xE2\x80\x93 Ad three"), 1);  // the second of the pair
}

// A knob not drawn: the tray says so at the first advert, one balloon, none at
// the second, and all is good again at the advert that finds it drawn.
TEST_F(Timers, AKnobNotDrawnIsToldOnceAndGoodAgainOnceItIsDrawn) {
    SimRig rig("knob-unseen");
    ASSERT_NE(Connect(rig,
                      "set knob-hidden on\n"
                      "track  | One   | First   | 1500\n"
                      "advert | Brand | Ad one  | 1500\n"
                      "track  | Two   | Second  | 1500\n"
                      "advert | Brand | Ad two  | 1500\n"
                      "track  | Three | Third   | 1500 | knob-shown=0\n"
                      "advert | Brand | Ad three | 1500\n"
                      "track  | Four  | Fourth  | 2500\n"),
              nullptr);
    const Win32MainControls& shown = win.controls;
    ArmAdvertTimers(main);
    ASSERT_TRUE(PumpUntil([&] { return shown.trayGreyed; }, 10000));
    EXPECT_EQ(shown.noticesShown, 1);
    EXPECT_EQ(shown.trayTip.rfind("Adquell 0.4: Adverts are not silenced", 0), 0u) << shown.trayTip;
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent("entry index=3", 0).ms >= 0; }, 10000));  // the second advert
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent("entry index=4", 0).ms >= 0; }, 10000));
    EXPECT_TRUE(shown.trayGreyed);
    EXPECT_EQ(shown.noticesShown, 1);  // not told again
    ASSERT_TRUE(PumpUntil([&] { return !shown.trayGreyed; }, 10000));  // the third advert finds the knob
    EXPECT_EQ(shown.trayTip, "Adquell 0.4");
    EXPECT_EQ(shown.noticesShown, 1);
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent(" end", 0).ms >= 0; }, 30000));
    KillAdvertTimers(main);
    EXPECT_EQ(app.advertsBlocked, 1);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Timers, ABannerIsParkedInSpotifyPopupsAndLoggedOnce) {
    SimRig rig("banner");
    ASSERT_NE(Connect(rig, "track | One | First | 600000 | banner-right\n"), nullptr);
    ASSERT_GE(rig.WaitForEvent("banner created width=160", kDeadline).ms, 0);
    ArmAdvertTimers(main);
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent("banner reparented parent=SpotifyPopups", 0).ms >= 0; },
                          kDeadline));
    Pump(3200);  // two more image-advert ticks
    EXPECT_EQ(CountLines(Log(), "Blocked:    Image advert (right)"), 1);
    EXPECT_EQ(app.advertsBlocked, 0);
    KillAdvertTimers(main);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Timers, TheFullScreenAdvertIsClosedAndCounted) {
    SimRig rig("fullscreen");
    ASSERT_NE(Connect(rig, "track | One | First | 600000 | fullscreen=435\n"), nullptr);
    ArmAdvertTimers(main);
    ASSERT_TRUE(PumpUntil([&] { return rig.WaitForEvent("fullscreen closed", 0).ms >= 0; }, kDeadline));
    EXPECT_EQ(app.advertsBlocked, 1);
    EXPECT_EQ(CountLines(Log(), "Blocked:    Full screen advert"), 1) << Log();
    KillAdvertTimers(main);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Timers, LoggingOutStopsTheTimersAndALoggedInSizeStartsThemAgain) {
    SimRig rig("login");
    ASSERT_NE(Connect(rig, "track | One | First | 1500\ntrack | Two | Second | 600000 | reopen=406x320@1000\n"), nullptr);
    ArmAdvertTimers(main);
    DWORD watcherId = 0;
    HANDLE watcher = StartLoginWatcherThread(main, &watcherId);
    ASSERT_NE(watcher, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Log().find("Spotify:    Logged out\n") != std::string::npos; }, kDeadline));
    Pump(200);  // the stop request has been carried out
    long ticks = TheAdvertTickCounts().detection;
    Pump(600);
    EXPECT_EQ(TheAdvertTickCounts().detection, ticks);  // stopped
    // A new main window of 406 x 320 is not logged in yet...
    ASSERT_GE(rig.WaitForEvent("mainwindow opened width=406 height=320", kDeadline).ms, 0);
    Pump(2500);
    EXPECT_EQ(Log().find("Spotify:    Logged in"), std::string::npos);
    EXPECT_EQ(TheAdvertTickCounts().detection, ticks);
    // ...one row higher, it is.
    HWND reopened = rig.MainWindow();
    ASSERT_NE(reopened, nullptr);
    SetWindowPos(reopened, nullptr, 0, 0, 406, 321, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return Log().find("Spotify:    Logged in\n") != std::string::npos; }, kDeadline));
    EXPECT_TRUE(app.loggedIn);
    EXPECT_EQ(app.spotifyWindow.load(), static_cast<WindowHandle>(reopened));
    ticks = TheAdvertTickCounts().detection;
    Pump(500);
    EXPECT_GT(TheAdvertTickCounts().detection, ticks);  // running again
    KillAdvertTimers(main);
    DestroyWindow(main);  // the watcher ends within its 3 s round
    EXPECT_EQ(WaitForSingleObject(watcher, 6000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(watcher, &code);
    EXPECT_EQ(code, 420u);
    CloseHandle(watcher);
    ASSERT_TRUE(rig.Close());
}

}  // namespace
