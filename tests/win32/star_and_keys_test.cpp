// Starring, the debug keys and the lyrics search against the simulated client,
// with real injected keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "blocking/spotify_sequence.h"
#include "client/client_process.h"
#include "client/star_and_lyrics.h"
#include "client/window_parking.h"
#include "app/win32_platform.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 10000;

// The real desktop, except that what the shell would open is only recorded.
class ShellRecorder : public Win32Desktop {
public:
    std::vector<std::string> opened;
    int ShellOpen(const std::string& target) override {
        opened.push_back(target);
        return 42;
    }
};

struct Keys : ::testing::Test {
    Win32Platform win;
    ShellRecorder desktop;
    Platform os{desktop,    win.clock, win.screen,    win.system,    SystemFolderListing(), win.controls,
                win.filler, win.keys,  win.registrar, win.installer, ProgramWindows{}};
    ApplicationState app;
    HWND main = nullptr;

    void SetUp() override {
        main = CreateWindowA("STATIC", "Adquell Lite", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                             nullptr);
        os.windows.main = main;
        app.screenWidth = desktop.ScreenWidth();
        app.screenHeight = desktop.ScreenHeight();
    }
    void TearDown() override { DestroyWindow(main); }
    HWND Connect(SimRig& rig, const std::string& script) {
        HWND w = rig.Start(script);
        if (w) StartSpotify(app, os);
        return w;
    }
};

TEST_F(Keys, StarTrackStarsThePlayingTrack) {
    SimRig rig("star-track");
    HWND w = Connect(rig, "track | Artist | Loved Song | 600000\n");
    ASSERT_NE(w, nullptr);
    SetForegroundWindow(main);
    StarTrack(app, os);
    FinishSequence(app, os);
    const std::string click = "click x=64 y=" + std::to_string(app.spotifyHeight - 46) + " target=star-target";
    EXPECT_GE(rig.WaitForEvent(click, kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("key vk=0x5D", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("key vk=0x54", kDeadline).ms, 0);
    EXPECT_GE(rig.WaitForEvent("star entry=0", kDeadline).ms, 0);
    EXPECT_FALSE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED);  // visible again
    ASSERT_TRUE(rig.Close());
    EXPECT_NE(rig.Summary().find("stars 1\n"), std::string::npos);
}

TEST_F(Keys, AParkedClientGoesBackToItsParkingPlaceAfterStarring) {
    SimRig rig("star-parked");
    HWND w = Connect(rig, "track | Artist | Loved Song | 600000\n");
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_MINIMIZE);
    const DWORD start = GetTickCount();
    while (!IsIconic(w) && GetTickCount() - start < kDeadline) Sleep(20);
    KeepSpotifyCapturable(app, os);
    ASSERT_TRUE(app.spotifyParked);
    StarTrack(app, os);
    FinishSequence(app, os);
    EXPECT_GE(rig.WaitForEvent("star entry=0", kDeadline).ms, 0);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, app.screenWidth);
    EXPECT_EQ(r.top, app.screenHeight);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Keys, DebugKeysReachSpotifyAsCtrlAltHome) {
    SimRig rig("debug-keys");
    ASSERT_NE(Connect(rig, "track | Artist | Song | 600000\n"), nullptr);
    SetForegroundWindow(main);
    SendDebugKeys(app, os);
    const SimEventLine ctrl = rig.WaitForEvent("key vk=0x11", kDeadline);
    const SimEventLine alt = rig.WaitForEvent("key vk=0x12", kDeadline);
    const SimEventLine home = rig.WaitForEvent("key vk=0x24", kDeadline);
    ASSERT_GE(home.ms, 0);
    EXPECT_GE(ctrl.ms, 0);
    EXPECT_GE(alt.ms, 0);
    ASSERT_TRUE(rig.Close());
}

TEST_F(Keys, TheLyricsAddressIsHandedToTheShell) {
    // The title's own bytes, percent-encoded as UTF-8: the en dash, and a
    // script the legacy code page would turn into question marks.
    const struct {
        const char* name;
        const char* artist;
        const char* song;
        const char* query;
    } cases[] = {
        {"lyrics", "Simon & Garfunkel", "Cecilia", "Simon%20%26%20Garfunkel%20%E2%80%93%20Cecilia"},
        {"lyrics-korean", "아이유 & Friends", "좋은 날",
         "%EC%95%84%EC%9D%B4%EC%9C%A0%20%26%20Friends%20%E2%80%93%20%EC%A2%8B%EC%9D%80%20%EB%82%A0"},
    };
    for (const auto& c : cases) {
        SimRig rig(c.name);
        ASSERT_NE(Connect(rig, std::string("track | ") + c.artist + " | " + c.song + " | 600000\n"), nullptr);
        desktop.opened.clear();
        SearchLyrics(app, os);
        ASSERT_EQ(desktop.opened.size(), 1u) << c.name;
        EXPECT_EQ(desktop.opened[0],
                  std::string("https://www.google.com/search?q=") + c.query + "%20lyrics&btnI=Im+Feeling+Lucky");
        ASSERT_TRUE(rig.Close());
    }
}

}  // namespace
