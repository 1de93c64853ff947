// The simulated client driven from another process, as the program drives the
// real one: posted clicks, injected keys, captures of its window.
#include <gtest/gtest.h>
#include <windows.h>

#include "blocking/advert_classifier.h"
#include "blocking/screen_probes.h"
#include "client/spotify_contract.h"
#include "platform/spotify_screen_win32.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 10000;

struct SimulatedClient : ::testing::Test {
    ApplicationState app;
    Win32SpotifyScreen screen;
    void Measure(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        app.spotifyWindow = window;
        app.spotifyWidth = r.right - r.left;
        app.spotifyHeight = r.bottom - r.top;
    }
    int H() const { return app.spotifyHeight; }
};

TEST_F(SimulatedClient, KnobFollowsClicksOnAllThreeRowsAndClamps) {
    SimRig rig("knob");
    HWND w = rig.Start("set volume 100\ntrack | A | Song | 600000\n");
    ASSERT_NE(w, nullptr);
    Measure(w);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 200);
    struct Case { int x; int up; int knob; };
    const Case cases[] = {{151, 23, 150}, {171, 21, 170}, {163, 20, 162}, {100 + 18, 23, 124},
                          {120, 21, 124}, {212, 20, 200}, {125, 23, 124}};
    for (const Case& c : cases) {
        const size_t before = rig.EventCount();
        PostClick(w, c.x, H() - c.up);
        const SimEventLine moved = rig.WaitForEvent("knob x=", kDeadline, before);
        ASSERT_GE(moved.ms, 0) << "no knob move for x=" << c.x;
        EXPECT_EQ(FieldOf(moved.text, "x"), c.knob);
        // What the program would see across processes.
        const DWORD start = GetTickCount();
        int seen = LocateVolumeKnob(app, screen);
        while (seen != c.knob && GetTickCount() - start < 2000) {
            Sleep(10);
            seen = LocateVolumeKnob(app, screen);
        }
        EXPECT_EQ(seen, c.knob) << "click at x=" << c.x;
    }
    EXPECT_TRUE(rig.Close());
}

TEST_F(SimulatedClient, PlayPauseNextAndPrevious) {
    SimRig rig("transport");
    HWND w = rig.Start("track | One | First | 600000\ntrack | Two | Second | 600000\n");
    ASSERT_NE(w, nullptr);
    Measure(w);
    ASSERT_TRUE(WaitForTitle(w, "Spotify - One \xE2\x80\x93 First", kDeadline));
    PostClick(w, spotify::kPlayPauseX, H() - spotify::kBarClickUp);
    EXPECT_TRUE(WaitForTitle(w, "Spotify", kDeadline));
    PostClick(w, spotify::kPlayPauseX, H() - spotify::kBarClickUp);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - One \xE2\x80\x93 First", kDeadline));
    PostClick(w, spotify::kNextX, H() - spotify::kBarClickUp);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - Two \xE2\x80\x93 Second", kDeadline));
    PostClick(w, spotify::kPreviousX, H() - spotify::kBarClickUp);
    EXPECT_TRUE(WaitForTitle(w, "Spotify - One \xE2\x80\x93 First", kDeadline));
    PostClick(w, app.spotifyWidth - spotify::kShuffleFromRight, H() - spotify::kBarClickUp);
    PostClick(w, app.spotifyWidth - spotify::kRepeatFromRight, H() - spotify::kBarClickUp);
    EXPECT_GE(rig.WaitForEvent("shuffle on", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("repeat on", kDeadline).ms, 0);
    EXPECT_TRUE(rig.Close());
}

void PressKey(BYTE vk) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), 0, 0);
    Sleep(20);
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP, 0);
    Sleep(20);
}

TEST_F(SimulatedClient, StarSequenceIsRecorded) {
    SimRig rig("star");
    HWND w = rig.Start("track | One | First | 600000\n");
    ASSERT_NE(w, nullptr);
    Measure(w);
    SetForegroundWindow(w);
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != w && GetTickCount() - start < kDeadline) Sleep(20);
    ASSERT_EQ(GetForegroundWindow(), w);
    PostClick(w, spotify::kStarTargetX, H() - spotify::kStarTargetUp);
    ASSERT_GE(rig.WaitForEvent("target=star-target", kDeadline).ms, 0);
    PressKey(VK_APPS);
    PressKey('T');
    EXPECT_GE(rig.WaitForEvent("key vk=0x5D", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("star entry=0", kDeadline).ms, 0);
    ASSERT_TRUE(rig.Close());
    EXPECT_NE(rig.Summary().find("stars 1"), std::string::npos) << rig.Summary();
}

TEST_F(SimulatedClient, ProbesGiveTheVerdictsTheScriptIntends) {
    SimRig rig("probes");
    HWND w = rig.Start("track | Plain | Music | 600000\ntrack | Grey | Music | 600000 | grey\n"
                       "advert | Brand | Advert | 600000\n");
    ASSERT_NE(w, nullptr);
    Measure(w);
    const char* titles[] = {"Spotify - Plain \xE2\x80\x93 Music", "Spotify - Grey \xE2\x80\x93 Music", "Spotify - Brand \xE2\x80\x93 Advert"};
    const bool advert[] = {false, false, true};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(WaitForTitle(w, titles[i], kDeadline)) << i;
        app.currentTitle = titles[i];
        // The new entry's player bar is painted a moment after its title.
        const auto probeA = [&] { return ProbePixel(app, screen, spotify::kProbeAX, H() - spotify::kProbeAUp); };
        if (i == 1) {
            EXPECT_TRUE(WaitUntil([&] { return probeA() == spotify::kProbeAGrey; }, kDeadline));
        }
        EXPECT_TRUE(WaitUntil([&] { return IsAdvertPlaying(app, screen) == advert[i]; }, kDeadline)) << titles[i];
        if (i == 1) {
            EXPECT_EQ(probeA(), spotify::kProbeAGrey);
            EXPECT_EQ(ProbePixel(app, screen, spotify::kProbeBX, H() - spotify::kProbeBUp), spotify::kProbeBGreen);
        }
        if (i < 2) PostClick(w, spotify::kNextX, H() - spotify::kBarClickUp);
    }
    EXPECT_TRUE(rig.Close());
}

BOOL CALLBACK CountChildren(HWND child, LPARAM count) {
    RECT r;
    GetWindowRect(child, &r);
    if (r.right - r.left == spotify::kBannerWidth) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(SimulatedClient, BannerAndFullScreenAdvertAppearAndTheFullScreenOneCloses) {
    SimRig rig("images");
    HWND w = rig.Start("track | A | Song | 600000 | banner-right fullscreen=435\n");
    ASSERT_NE(w, nullptr);
    ASSERT_GE(rig.WaitForEvent("fullscreen created width=800 height=435", kDeadline).ms, 0);
    int banners = 0;
    EnumChildWindows(w, CountChildren, reinterpret_cast<LPARAM>(&banners));
    EXPECT_EQ(banners, 1);
    HWND full = WaitForWindow(spotify::kFullScreenAdvertClass, nullptr, kDeadline);
    ASSERT_NE(full, nullptr);
    RECT r;
    GetWindowRect(full, &r);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 435);
    PostMessageA(full, WM_CLOSE, 0, 0);
    EXPECT_GE(rig.WaitForEvent("fullscreen closed", kDeadline).ms, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(full) && GetTickCount() - start < kDeadline) Sleep(10);
    EXPECT_FALSE(IsWindow(full));
    EXPECT_TRUE(rig.Close());
}

TEST_F(SimulatedClient, AudibleAdvertTimeMatchesAMuteAfterAKnownDelay) {
    SimRig rig("audible");
    HWND w = rig.Start("set volume 50\nadvert | Brand | Advert | 600000\ntrack | After | Advert | 600000\n");
    ASSERT_NE(w, nullptr);
    Measure(w);
    ASSERT_TRUE(WaitForTitle(w, "Spotify - Brand \xE2\x80\x93 Advert", kDeadline));
    Sleep(400);
    PostClick(w, spotify::kMuteClickX, H() - spotify::kMuteClickUp);
    const SimEventLine muted = rig.WaitForEvent("knob x=124", kDeadline);
    ASSERT_GE(muted.ms, 0);
    EXPECT_GE(rig.WaitForEvent("reason=muted", kDeadline).ms, 0);  // it pauses, as the real one does
    ASSERT_TRUE(rig.Close());
    const SimEventLine began = rig.WaitForEvent("kind=advert", 0);
    const std::string summary = rig.Summary();
    const size_t at = summary.find("advert index=0 entry=0 audible_ms=");
    ASSERT_NE(at, std::string::npos) << summary;
    const long long audible = std::atoll(summary.c_str() + at + 34);
    // Exactly the span its own record shows, and at least the delay we waited.
    EXPECT_EQ(audible, muted.ms - began.ms);
    EXPECT_GE(audible, 400);
    EXPECT_LT(audible, 3000);
}

TEST_F(SimulatedClient, RecordsScriptErrors) {
    SimRig rig("errors");
    ASSERT_NE(rig.Start("track | broken\ntrack | A | B | 1000\n"), nullptr);
    EXPECT_GE(rig.WaitForEvent("script-error line 1:", kDeadline).ms, 0);
}

}  // namespace
