// Muting, volume, transport, parking and the process commands against the
// simulated client, through the real Win32 side.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "base/log.h"
#include "blocking/mute_control.h"
#include "blocking/screen_probes.h"
#include "blocking/spotify_sequence.h"
#include "client/client_process.h"
#include "client/transport.h"
#include "client/window_parking.h"
#include "app/win32_platform.h"
#include "prefix_snapshot.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 10000;

struct AgainstClient : ::testing::Test {
    Win32Platform win;
    Platform& os = win.platform;
    ApplicationState app;
    HWND main = nullptr;
    std::string options;

    void SetUp() override {
        main = CreateWindowA("STATIC", "Adquell Lite", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        os.windows.main = main;
        app.screenWidth = os.desktop.ScreenWidth();
        app.screenHeight = os.desktop.ScreenHeight();
    }
    void TearDown() override { DestroyWindow(main); }

    // Starts the client and lets the program find it.
    HWND Connect(SimRig& rig, const std::string& script) {
        HWND w = rig.Start(script);
        if (!w) return nullptr;
        StartSpotify(app, os);
        options = rig.Folder() + "Options.ini";
        std::ofstream(options, std::ios::binary) << " [Options]\r\n Mute=True\r\n";
        app.optionsPath = options;
        return static_cast<HWND>(app.spotifyWindow.load());
    }
    int H() const { return app.spotifyHeight; }
    int Knob() { return LocateVolumeKnob(app, os.screen); }
};

TEST_F(AgainstClient, MuteGoesToZeroAndRestoreBringsBackTheExactVolume) {
    SimRig rig("mute");
    HWND w = Connect(rig, "set volume 63\nadvert | Brand | Advert | 600000\ntrack | Artist | Song | 600000\n");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(WaitForTitle(w, "Spotify - Brand \xE2\x80\x93 Advert", kDeadline));
    app.currentTitle = WindowTitle(w);
    const int before = Knob();
    ASSERT_EQ(before, 124 + 48);  // 63 % of 76 pixels
    SetBlocked(app, os, true);
    FinishSequence(app, os);
    EXPECT_EQ(app.savedKnobX, before);
    EXPECT_EQ(Knob(), 124);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - Brand \xE2\x80\x93 Advert", kDeadline));  // playing, silently
    EXPECT_GE(rig.WaitForEvent("knob x=124 volume=0", kDeadline).ms, 0);
    SetBlocked(app, os, false);
    FinishSequence(app, os);
    EXPECT_EQ(Knob(), before);
    EXPECT_GE(rig.WaitForEvent("knob x=" + std::to_string(before), kDeadline).ms, 0);
    EXPECT_FALSE(app.advertBlocked);
    ASSERT_TRUE(rig.Close());
}

TEST_F(AgainstClient, VolumeStepsAndTransportClicksLandOnTheirPoints) {
    SimRig rig("steps");
    HWND w = Connect(rig, "set volume 50\ntrack | One | First | 600000\ntrack | Two | Second | 600000\n");
    ASSERT_NE(w, nullptr);
    VolumeUp(app, os);
    EXPECT_GE(rig.WaitForEvent("click x=171 y=" + std::to_string(H() - 21) + " target=knob", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("knob x=170", kDeadline).ms, 0);
    VolumeDown(app, os);
    EXPECT_GE(rig.WaitForEvent("click x=163 y=" + std::to_string(H() - 21), kDeadline).ms, 0);
    SetSpotifyVolume(app, os, 100);
    EXPECT_GE(rig.WaitForEvent("click x=200 y=" + std::to_string(H() - 20), kDeadline).ms, 0);
    NextTrack(app, os);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - Two \xE2\x80\x93 Second", kDeadline));
    PreviousTrack(app, os);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - One \xE2\x80\x93 First", kDeadline));
    PlayPause(app, os);
    EXPECT_TRUE(WaitForTitle(w, "Spotify", kDeadline));
    ToggleShuffle(app, os);
    ToggleRepeat(app, os);
    EXPECT_GE(rig.WaitForEvent("click x=740 y=" + std::to_string(H() - 21) + " target=shuffle", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("click x=770 y=" + std::to_string(H() - 21) + " target=repeat", kDeadline).ms, 0);
    ASSERT_TRUE(rig.Close());
}

RECT RectOf(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
}

TEST_F(AgainstClient, AMinimisedClientIsParkedOffScreenAndComesBackWhenActivated) {
    SimRig rig("minimised");
    HWND w = Connect(rig, "set position 120,80\ntrack | One | First | 600000\n");
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([w] { return IsIconic(w) != 0; }, kDeadline));
    KeepSpotifyCapturable(app, os);
    EXPECT_TRUE(app.spotifyParked);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(RectOf(w).left, app.screenWidth);
    EXPECT_EQ(RectOf(w).top, app.screenHeight);
    EXPECT_EQ(app.spotifyLeft, 120);
    // Parked, it can still be read and clicked.
    EXPECT_EQ(LocateVolumeKnob(app, os.screen) >= 124, true);
    SetForegroundWindow(w);
    ASSERT_TRUE(WaitUntil([w] { return GetForegroundWindow() == w; }, kDeadline));
    KeepSpotifyCapturable(app, os);
    EXPECT_FALSE(app.spotifyParked);
    EXPECT_EQ(RectOf(w).left, 120);
    EXPECT_EQ(RectOf(w).top, 80);
    ASSERT_TRUE(rig.Close());
}

TEST_F(AgainstClient, AHiddenClientIsReparentedIntoTheContainerAndBack) {
    HWND container = CreateWindowA("STATIC", "SpotifyContainer", WS_POPUP | WS_VISIBLE, app.screenWidth,
                                   app.screenHeight, app.screenWidth, app.screenHeight, nullptr, nullptr, nullptr,
                                   nullptr);
    ASSERT_NE(container, nullptr);
    os.windows.container = container;
    SimRig rig("hidden");
    HWND w = Connect(rig, "set position 150,60\ntrack | One | First | 600000\n");
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_HIDE);
    ASSERT_TRUE(WaitUntil([w] { return !IsWindowVisible(w); }, kDeadline));
    KeepSpotifyCapturable(app, os);
    KeepSpotifyCapturable(app, os);  // still hidden a tick later: not closing
    EXPECT_TRUE(app.spotifyReparented);
    EXPECT_EQ(GetAncestor(w, GA_PARENT), container);
    EXPECT_TRUE(IsWindowVisible(w));
    ResetSpotifyWindow(app, os);
    EXPECT_NE(GetAncestor(w, GA_PARENT), container);
    EXPECT_EQ(RectOf(w).left, 150);
    EXPECT_EQ(RectOf(w).top, 60);
    EXPECT_FALSE(app.spotifyParked);
    ASSERT_TRUE(rig.Close());
    DestroyWindow(container);
}

TEST_F(AgainstClient, KillSpotifyEndsTheClientFoundByItsImageName) {
    SimRig rig("kill");
    ASSERT_NE(Connect(rig, "track | One | First | 600000\n"), nullptr);
    const SpotifyProcess found = FindSpotifyProcess(os);
    ASSERT_TRUE(found.enumerated);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.processId, rig.ProcessId());
    KillSpotify(app, os);
    const DWORD start = GetTickCount();
    while (FindWindowA("SpotifyMainWindow", nullptr) && GetTickCount() - start < kDeadline) Sleep(20);
    EXPECT_EQ(FindWindowA("SpotifyMainWindow", nullptr), nullptr);
    EXPECT_FALSE(FindSpotifyProcess(os).found);
}

TEST_F(AgainstClient, StartSpotifyLaunchesItFromAppData) {
    ASSERT_EQ(FindWindowA("SpotifyMainWindow", nullptr), nullptr);
    const std::string folder = os.system.ExpandEnvironment("%appdata%\\Spotify");
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ExeFolder() + "Spotify.exe").c_str(), (folder + "\\spotify.exe").c_str(), FALSE));
    std::ofstream(folder + "\\playlist.txt", std::ios::binary) << "track | Launched | From AppData | 600000\n";
    TheDebugLog().logBacklog.clear();
    StartSpotify(app, os);
    EXPECT_EQ(TheDebugLog().logBacklog, "Spotify:    Started\n");
    HWND w = WaitForWindow("SpotifyMainWindow", "Spotify - Launched \xE2\x80\x93 From AppData", kDeadline);
    EXPECT_NE(w, nullptr);
    KillSpotify(app, os);
    const DWORD start = GetTickCount();
    while (FindWindowA("SpotifyMainWindow", nullptr) && GetTickCount() - start < kDeadline) Sleep(20);
    DeleteFileA((folder + "\\spotify.exe").c_str());
    TheDebugLog().logBacklog.clear();
}

TEST(RestoreAfterAnEnd, KilledWhileMutedTheNextStartBringsTheVolumeBack) {
    SimRig rig("crash");
    HWND w = rig.Start("set volume 40\nadvert | Brand | Long Advert | 6000\ntrack | Artist | Song | 600000\n");
    ASSERT_NE(w, nullptr);
    std::ofstream(rig.Folder() + "Options.ini", std::ios::binary) << " [Options]\r\n Mute=True\r\n";
    ASSERT_TRUE(WaitForTitle(w, "Spotify - Brand \xE2\x80\x93 Long Advert", kDeadline));
    const std::string knobBefore = "knob x=" + std::to_string(124 + 30);
    // Without the trailing backslash, which would escape the closing quote.
    const std::string folder = rig.Folder().substr(0, rig.Folder().size() - 1);
    {
        ChildProcess program("mute_driver.exe", "\"" + folder + "\" mute");
        ASSERT_TRUE(program.Started());
        ASSERT_GE(rig.WaitForEvent("knob x=124", kDeadline).ms, 0);
        ASSERT_GE(rig.WaitForEvent("reason=click", kDeadline).ms, 0);  // resumed, silently
        EXPECT_TRUE(WaitUntil([&] { return UserText(kProgramUserKey, "Restore") == "154"; }, kDeadline));
    }  // killed while the advert is silenced
    // Started again once the advert is over (during it, it would count as silenced).
    ASSERT_GE(rig.WaitForEvent("entry index=1", kDeadline).ms, 0);
    ChildProcess again("mute_driver.exe", "\"" + folder + "\" start");
    EXPECT_EQ(again.Wait(kDeadline), 0u);
    EXPECT_GE(rig.WaitForEvent(knobBefore, kDeadline).ms, 0);
    EXPECT_EQ(UserText(kProgramUserKey, "Restore"), "(none)");
    EXPECT_EQ(ReadTextFile(rig.Folder() + "Options.ini"), " [Options]\r\n Mute=True\r\n");
    ASSERT_TRUE(rig.Close());
}

}  // namespace
