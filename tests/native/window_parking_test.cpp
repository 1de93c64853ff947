#include <gtest/gtest.h>

#include "client/client_process.h"
#include "client/spotify_contract.h"
#include "client/window_parking.h"
#include "sim_world.h"

namespace {

struct Parking : SimWorld {
    WindowHandle spotify = nullptr;
    WindowHandle other = nullptr;
    void SetUp() override {
        spotify = Connect("track | A | B | 600000\n", 100, 50);
        other = sim.AddWindow(SimWindow{"Notepad", "notes", {0, 0, 400, 300}});
        sim.foreground = other;
    }
    WindowRect Rect() { return sim.windows[spotify].rect; }
    // Spotify minimised at rect, parked by a tick.
    void MinimiseAndPark(const WindowRect& at) {
        sim.windows[spotify].rect = at;
        sim.windows[spotify].iconic = true;
        KeepSpotifyCapturable(app, os);
    }
    // Spotify hides its window (closed to the tray); parked once it is still
    // hidden at the next tick.
    void HideAndPark() {
        sim.windows[spotify].visible = false;
        KeepSpotifyCapturable(app, os);
        KeepSpotifyCapturable(app, os);
    }
    // The user activates it; the next tick unparks it.
    void Activate() {
        sim.foreground = spotify;
        KeepSpotifyCapturable(app, os);
    }
};

TEST_F(Parking, MinimisedSpotifyIsParkedOffScreenAndComesBackWhenActivated) {
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    EXPECT_TRUE(app.spotifyParked);
    EXPECT_FALSE(app.spotifyReparented);
    EXPECT_FALSE(sim.windows[spotify].iconic);
    EXPECT_EQ(Rect().left, 1280);
    EXPECT_EQ(Rect().top, 1024);
    EXPECT_EQ(Rect().Width(), 800);
    EXPECT_EQ(sim.foreground, other);  // the focus went back
    EXPECT_FALSE(sim.windows[spotify].exStyle & win::kWsExLayered);  // opaque again
    EXPECT_EQ(sim.journal.front(), "layered on");
    // Parked: not measured again.
    KeepSpotifyCapturable(app, os);
    EXPECT_EQ(app.spotifyLeft, 100);
    sim.foreground = spotify;  // the user activates it
    KeepSpotifyCapturable(app, os);
    EXPECT_FALSE(app.spotifyParked);
    EXPECT_EQ(Rect().left, 100);
    EXPECT_EQ(Rect().top, 50);
}

TEST_F(Parking, ARestartedSpotifyIsParkedAfresh) {
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    ASSERT_TRUE(app.spotifyParked);
    sim.CloseWindow(spotify);
    KeepSpotifyCapturable(app, os);  // gone: nothing is parked any more
    EXPECT_FALSE(app.spotifyParked);
    EXPECT_TRUE(sim.journal.empty() || sim.journal.back() != "layered on");
    // Spotify comes back minimised under a new handle: kept capturable again.
    SimWindow next{spotify::kMainWindowClass, "Spotify", {100, 50, 900, 650}};
    next.iconic = true;
    const WindowHandle restarted = sim.AddWindow(next);
    sim.spotify = restarted;
    app.spotifyWindow = restarted;
    app.spotifyParked = true;  // as a stale flag from the old window would say
    KeepSpotifyCapturable(app, os);
    EXPECT_TRUE(app.spotifyParked);
    EXPECT_FALSE(sim.windows[restarted].iconic);
    EXPECT_EQ(sim.windows[restarted].rect.left, 1280);
}

TEST_F(Parking, HiddenSpotifyIsReparentedIntoTheContainerAndBack) {
    HideAndPark();
    EXPECT_TRUE(app.spotifyParked);
    EXPECT_TRUE(app.spotifyReparented);
    EXPECT_EQ(sim.windows[spotify].parent, os.windows.container);
    EXPECT_EQ(Rect().left, 1);
    EXPECT_EQ(Rect().top, 1);
    EXPECT_TRUE(sim.windows[spotify].visible);
    sim.foreground = spotify;
    KeepSpotifyCapturable(app, os);
    EXPECT_EQ(sim.windows[spotify].parent, nullptr);
    EXPECT_FALSE(app.spotifyReparented);
    EXPECT_EQ(Rect().left, 100);
}

TEST_F(Parking, FocusGoesToTheMainWindowWhenSpotifyHadIt) {
    sim.foreground = spotify;
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    EXPECT_EQ(sim.foreground, os.windows.main);
    EXPECT_TRUE(app.spotifyParked);
}

TEST_F(Parking, MaximisedPositionComesBackOnScreenButResetKeepsIt) {
    MinimiseAndPark({-8, -8, 792, 592});
    Activate();
    EXPECT_EQ(Rect().left, 10);
    EXPECT_EQ(Rect().top, 10);

    sim.foreground = other;
    MinimiseAndPark({-8, -8, 792, 592});
    ResetSpotifyWindow(app, os);
    EXPECT_EQ(Rect().left, -8);
    EXPECT_EQ(Rect().top, -8);
    EXPECT_FALSE(app.spotifyParked);
}

TEST_F(Parking, PositionBeyondTheScreen) {
    MinimiseAndPark({1500, 50, 2300, 650});
    Activate();
    EXPECT_EQ(Rect().left, 10);
    EXPECT_EQ(Rect().top, 10);

    sim.windows[spotify].rect = {1500, 50, 2300, 650};
    app.spotifyLeft = 1500;
    app.spotifyTop = 50;
    ResetSpotifyWindow(app, os);
    EXPECT_EQ(Rect().left, 1);
    EXPECT_EQ(Rect().top, 1);
}

TEST_F(Parking, ExitWhileParkedGivesTheWindowBack) {
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    ReleaseSpotifyWindow(app, os);
    EXPECT_EQ(Rect().left, 100);
    EXPECT_EQ(Rect().top, 50);
    EXPECT_EQ(sim.windows[spotify].parent, nullptr);
}

TEST_F(Parking, ExitAfterHidingTakesItOutOfTheContainer) {
    HideAndPark();
    ASSERT_EQ(sim.windows[spotify].parent, os.windows.container);
    app.fillerPlaying = true;
    ReleaseSpotifyWindow(app, os);
    EXPECT_EQ(sim.windows[spotify].parent, nullptr);
    EXPECT_EQ(Rect().left, 100);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(Log(), "MP3:        Stopped\n");
}

// After an end that was called off (or an update that could not start), the
// program works on: a window minimised again is parked again.
TEST_F(Parking, AWindowGivenBackIsParkedAfreshWhenMinimisedAgain) {
    HideAndPark();
    ReleaseSpotifyWindow(app, os);
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    EXPECT_FALSE(sim.windows[spotify].iconic);
    EXPECT_GE(Rect().left, app.screenWidth);  // out of sight, where it can still be read
    EXPECT_TRUE(app.spotifyParked);
}

// A closing window is hidden for a moment before it goes: parking it would
// fight its end (under Wine that stalls the window's thread for seconds).
TEST_F(Parking, AWindowHiddenAsItClosesIsNeverParked) {
    sim.windows[spotify].visible = false;
    KeepSpotifyCapturable(app, os);
    sim.CloseWindow(spotify);
    KeepSpotifyCapturable(app, os);
    EXPECT_FALSE(app.spotifyParked);
    EXPECT_TRUE(sim.journal.empty());
}

TEST_F(Parking, AnEndInTheMiddleOfParkingLeavesSpotifyVisible) {
    MakeSpotifyTransparent(app, os);
    ReleaseSpotifyWindow(app, os);
    EXPECT_EQ(sim.windows[spotify].alpha, 255);
    EXPECT_EQ(sim.windows[spotify].exStyle & win::kWsExLayered, 0);
}

TEST_F(Parking, AVisibleWindowIsMeasuredEveryTick) {
    sim.windows[spotify].rect = {200, 300, 1100, 1000};
    KeepSpotifyCapturable(app, os);
    EXPECT_EQ(app.spotifyLeft, 200);
    EXPECT_EQ(app.spotifyHeight, 700);
    EXPECT_FALSE(app.spotifyParked);
}

TEST_F(Parking, NothingHappensBeforeSpotifyIsFound) {
    app.spotifyWindow = nullptr;
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    EXPECT_FALSE(app.spotifyParked);
    EXPECT_TRUE(sim.journal.empty());
}

}  // namespace
