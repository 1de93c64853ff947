#include <gtest/gtest.h>

#include "blocking/login_watcher.h"
#include "sim_world.h"

namespace {

class CountingTimers : public AdvertTimers {
public:
    int stops = 0;
    int starts = 0;
    void Stop() override { ++stops; }
    void Start() override { ++starts; }
};

struct Watcher : SimWorld {
    LoginWatcher watcher;
    CountingTimers timers;
    int Step() { return LoginWatcherStep(app, os, watcher, timers); }
    WindowHandle Spotify(int w, int h) {
        return sim.AddWindow(SimWindow{"SpotifyMainWindow", "Spotify", {10, 20, 10 + w, 20 + h}});
    }
};

TEST_F(Watcher, WaitsForSpotifyQuietlyEvery750Ms) {
    EXPECT_EQ(Step(), 750);
    EXPECT_EQ(Step(), 750);
    WindowHandle s = Spotify(300, 200);  // any size will do here
    EXPECT_EQ(Step(), 750);               // found, and it still sleeps
    EXPECT_EQ(app.spotifyWindow.load(), s);
    EXPECT_EQ(watcher.phase, LoginWatcher::Watching);
    EXPECT_FALSE(app.loggedIn);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Step(), 3000);
    EXPECT_EQ(timers.stops + timers.starts, 0);
}

TEST_F(Watcher, ClosingSpotifyStopsTheTimersOnce) {
    WindowHandle s = Spotify(800, 600);
    app.loggedIn = true;
    Step();
    sim.CloseWindow(s);
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(timers.stops, 1);
    EXPECT_FALSE(app.loggedIn);
    EXPECT_EQ(Log(), "Spotify:    Logged out\n");
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(timers.stops, 1);
    EXPECT_EQ(Log(), "Spotify:    Logged out\n");
}

// Spotify ends while an advert is silenced and starts again: its new window is
// found, and the ticks started, within half a second, so that its volume
// (0 %, as the advert left it) comes back before much of its music is heard.
TEST_F(Watcher, ARestartedSpotifyIsFoundWithinHalfASecondWhileAVolumeIsOwed) {
    WindowHandle s = Spotify(800, 600);
    Step();
    app.advertBlocked = true;
    int waited = Step();
    sim.CloseWindow(s);
    waited += Step();
    EXPECT_EQ(timers.stops, 1);
    Spotify(800, 600);
    int sinceNewWindow = 0;
    while (timers.starts == 0 && sinceNewWindow < 5000) sinceNewWindow += Step();
    EXPECT_EQ(timers.starts, 1);
    EXPECT_LE(waited, 500);
    EXPECT_LE(sinceNewWindow, 500);
}

TEST_F(Watcher, ALoginNeedsMoreThan405By320) {
    WindowHandle s = Spotify(800, 600);
    Step();
    sim.CloseWindow(s);
    Step();
    WindowHandle small = Spotify(406, 320);
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(watcher.phase, LoginWatcher::Measuring);
    EXPECT_EQ(app.spotifyWindow.load(), small);
    EXPECT_EQ(app.spotifyHeight, 320);
    EXPECT_EQ(timers.starts, 0);
    sim.windows[small].rect.bottom += 1;
    sim.windows[small].rect.right -= 1;  // now 405 x 321
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(timers.starts, 0);
    sim.windows[small].rect.right += 1;  // now 406 x 321
    EXPECT_EQ(Step(), 3000);
    EXPECT_EQ(timers.starts, 1);
    EXPECT_TRUE(app.loggedIn);
    EXPECT_EQ(app.spotifyWidth, 406);
    EXPECT_EQ(app.spotifyHeight, 321);
    EXPECT_EQ(app.spotifyLeft, 10);
    EXPECT_EQ(Log(), "Spotify:    Logged out\nSpotify:    Logged in\n");
}

TEST_F(Watcher, AWindowThatGoesWhileBeingMeasuredIsLookedForAgain) {
    WindowHandle s = Spotify(800, 600);
    Step();
    sim.CloseWindow(s);
    Step();
    WindowHandle small = Spotify(300, 200);
    Step();
    sim.CloseWindow(small);
    EXPECT_EQ(Step(), 1000);
    EXPECT_EQ(watcher.phase, LoginWatcher::LoggedOut);
    Spotify(800, 600);
    EXPECT_EQ(Step(), 3000);
    EXPECT_EQ(timers.starts, 1);
}

TEST_F(Watcher, TheMainWindowGoneEndsTheThreadAndClosesTheConsole) {
    const WindowHandle console = sim.AddWindow(SimWindow{"ConsoleWindowClass", "Adquell Debug", {0, 0, 600, 300}});
    TheDebugLog().consoleWindow = console;
    Spotify(800, 600);
    Step();
    Step();
    EXPECT_TRUE(sim.posted.empty());  // the console stays while the program runs
    sim.CloseWindow(os.windows.main);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(watcher.phase, LoginWatcher::Ended);
    EXPECT_EQ(sim.posted, (std::vector<std::pair<WindowHandle, unsigned>>{{console, win::kWmClose}}));
    EXPECT_EQ(Step(), 0);
    TheDebugLog().consoleWindow = nullptr;
}

TEST_F(Watcher, RunEndsWithExitCode420) {
    Spotify(800, 600);
    sim.CloseWindow(os.windows.main);
    EXPECT_EQ(RunLoginWatcher(app, os, timers), 420);
    EXPECT_EQ(sim.now, 750u);
}

}  // namespace
