#include <gtest/gtest.h>

#include "blocking/detection_loop.h"
#include "client/client_process.h"
#include "client/transport.h"
#include "sim_world.h"

namespace {

struct Client : SimWorld {};

TEST_F(Client, StartSpotifyFindsAndMeasuresARunningClient) {
    WindowHandle w = sim.StartClient("track | A | B | 600000\n", 30, 40);
    sim.windows[w].iconic = true;
    StartSpotify(app, os);
    EXPECT_EQ(app.spotifyWindow.load(), w);
    EXPECT_FALSE(sim.windows[w].iconic);  // shown normally
    EXPECT_EQ(app.spotifyLeft, 30);
    EXPECT_EQ(app.spotifyTop, 40);
    EXPECT_EQ(app.spotifyWidth, 800);
    EXPECT_EQ(app.spotifyHeight, 600);
    EXPECT_TRUE(app.loggedIn);
    EXPECT_TRUE(sim.launched.empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(Client, LoggedInNeedsSixHundredByFourHundredSixty) {
    WindowHandle w = sim.StartClient("set size 600x460\ntrack | A | B | 600000\n");
    StartSpotify(app, os);
    EXPECT_TRUE(app.loggedIn);
    sim.windows[w].rect.right -= 1;  // 599 wide
    app.loggedIn = false;
    StartSpotify(app, os);
    EXPECT_FALSE(app.loggedIn);
    app.loggedIn = true;
    StartSpotify(app, os);
    EXPECT_TRUE(app.loggedIn);  // never cleared here
}

TEST_F(Client, StartSpotifyLaunchesFromAppData) {
    sim.environment["appdata"] = "C:\\Users\\me\\AppData\\Roaming";
    StartSpotify(app, os);
    ASSERT_EQ(sim.launched.size(), 1u);
    EXPECT_EQ(sim.launched[0], "C:\\Users\\me\\AppData\\Roaming\\Spotify\\spotify.exe");
    EXPECT_EQ(Log(), "Spotify:    Started\n");
    EXPECT_EQ(app.spotifyWindow.load(), nullptr);
    TheDebugLog().logBacklog.clear();
    EXPECT_FALSE(controls.trayGreyed);  // started: nothing wrong
    sim.launchResult = 2;  // file not found
    StartSpotify(app, os);
    EXPECT_EQ(Log(), "Error:      Failed to find Spotify in %appdata%\n");
    // Said in the tray, with where it was looked for, until Spotify runs.
    EXPECT_TRUE(controls.trayGreyed);
    ASSERT_EQ(controls.notices.size(), 1u);
    EXPECT_NE(controls.notices[0].find("C:\\Users\\me\\AppData\\Roaming\\Spotify\\spotify.exe"), std::string::npos);
    DetectionTick(app, os);  // the ticks run without Spotify too
    EXPECT_TRUE(controls.trayGreyed);
    sim.StartClient("track | A | B | 60000\n");  // Open from the menu finds it now
    StartSpotify(app, os);
    EXPECT_FALSE(controls.trayGreyed);
    // Or the user started it and the watcher found its window.
    sim.CloseWindow(app.spotifyWindow);
    app.spotifyWindow = nullptr;
    StartSpotify(app, os);
    ASSERT_TRUE(controls.trayGreyed);
    Connect("track | A | B | 60000\n");
    DetectionTick(app, os);
    EXPECT_FALSE(controls.trayGreyed);
}

TEST_F(Client, OnlyTheFirstSpotifyProcessIsEnded) {
    sim.processes = {{4, "explorer.exe"}, {8, ""}, {12, "SPOTIFY.EXE"}, {16, "spotify.exe"}, {20, "Spotify.exe.bak"}};
    const SpotifyProcess p = FindSpotifyProcess(os);
    EXPECT_TRUE(p.enumerated);
    EXPECT_TRUE(p.found);
    EXPECT_EQ(p.processId, 12u);
    KillSpotify(app, os);
    EXPECT_EQ(sim.terminated, std::vector<std::uint32_t>{12});
}

// The client runs several processes of one name: the one that owns the main
// window is the one to end, parked or not.
TEST_F(Client, TheProcessOwningSpotifysWindowIsEnded) {
    sim.processes = {{12, "Spotify.exe"}, {16, "Spotify.exe"}};
    Connect("track | A | B | 600000\n");
    sim.windows[sim.spotify].process = 16;
    sim.windows[sim.spotify].parent = os.windows.container;
    KillSpotify(app, os);
    EXPECT_EQ(sim.terminated, std::vector<std::uint32_t>{16});
    // A handle from before a restart: the window there now is the one.
    sim.windows[sim.spotify].parent = nullptr;
    app.spotifyWindow = nullptr;
    KillSpotify(app, os);
    EXPECT_EQ(sim.terminated, (std::vector<std::uint32_t>{16, 16}));
}

TEST_F(Client, NothingIsEndedWithoutTheProcessList) {
    sim.processes = {{12, "Spotify.exe"}};
    sim.processesEnumerable = false;
    EXPECT_FALSE(FindSpotifyProcess(os).enumerated);
    KillSpotify(app, os);
    sim.processesEnumerable = true;
    sim.processes = {{12, "Spotifyy.exe"}};
    EXPECT_FALSE(FindSpotifyProcess(os).found);
    KillSpotify(app, os);
    EXPECT_TRUE(sim.terminated.empty());
}

TEST_F(Client, BringToForegroundOnTheFrontWindowDoesNothing) {
    WindowHandle w = Connect("track | A | B | 600000\n");
    sim.foreground = w;
    sim.windows[w].iconic = true;
    BringToForeground(os, w);
    EXPECT_TRUE(sim.journal.empty());
    EXPECT_TRUE(sim.windows[w].iconic);
}

TEST_F(Client, BringToForegroundRestoresThenJoinsInputQueuesWhenRefused) {
    WindowHandle w = Connect("track | A | B | 600000\n");
    sim.foreground = os.windows.main;
    sim.windows[w].iconic = true;
    sim.refuseForeground = 2;
    BringToForeground(os, w);
    EXPECT_EQ(sim.foreground, w);
    const std::vector<std::string> expected = {
        "show 9", "foreground " + sim.journal[1].substr(11), "attach 100>7", "attach 100>1", "attach 1>7",
        "foreground " + sim.journal[1].substr(11), "tap 18", "tap 18", "foreground " + sim.journal[1].substr(11),
        "detach 100>7", "detach 100>1", "detach 1>7"};
    EXPECT_EQ(sim.journal, expected);
}

TEST_F(Client, TransparencyAndItsToggle) {
    WindowHandle w = Connect("track | A | B | 600000\n");
    MakeSpotifyTransparent(app, os);
    EXPECT_TRUE(sim.windows[w].exStyle & win::kWsExLayered);
    EXPECT_EQ(sim.windows[w].alpha, 0);
    ToggleLayered(app, os);
    EXPECT_FALSE(sim.windows[w].exStyle & win::kWsExLayered);
    ToggleLayered(app, os);
    EXPECT_TRUE(sim.windows[w].exStyle & win::kWsExLayered);
    EXPECT_EQ(sim.windows[w].alpha, 255);
    sim.layeredAvailable = false;
    sim.journal.clear();
    MakeSpotifyTransparent(app, os);
    ToggleLayered(app, os);
    EXPECT_TRUE(sim.journal.empty());
}

TEST_F(Client, TransportClicksOnAnEightHundredBySixHundredWindow) {
    Connect("track | A | B | 600000\ntrack | C | D | 600000\n");
    ToggleShuffle(app, os);
    ToggleRepeat(app, os);
    PlayPause(app, os);
    PreviousTrack(app, os);
    NextTrack(app, os);
    const std::vector<std::pair<int, int>> expected = {{740, 579}, {770, 579}, {42, 579}, {21, 579}, {84, 579}};
    EXPECT_EQ(sim.clicks, expected);
    EXPECT_TRUE(sim.player.shuffle);
    EXPECT_TRUE(sim.player.repeat);
    EXPECT_EQ(sim.player.entry, 1);
}

}  // namespace
