#include <gtest/gtest.h>

#include "blocking/image_adverts.h"
#include "sim_world.h"

namespace {

struct ImageAdverts : SimWorld {
    WindowHandle spotify = nullptr;
    void SetUp() override {
        spotify = Connect("track | A | B | 600000\n");
        os.windows.popups = sim.AddWindow(SimWindow{"Adquell", "SpotifyPopups", {1280, 1024, 2560, 2048}});
    }
    WindowHandle Child(WindowHandle parent, int w, int h) {
        SimWindow c{"Chrome_WidgetWin_0", "", {0, 0, w, h}};
        c.parent = parent;
        return sim.AddWindow(c);
    }
    WindowHandle FullScreen(int w, int h) {
        return sim.AddWindow(SimWindow{"SpotifyWindow", "", {0, 0, w, h}});
    }
};

TEST_F(ImageAdverts, BannersAnywhereBelowSpotifyAreParkedOnce) {
    WindowHandle holder = Child(spotify, 600, 400);
    WindowHandle right = Child(holder, 160, 90);  // both: logged as right
    WindowHandle bottom = Child(spotify, 500, 90);
    WindowHandle near = Child(spotify, 161, 89);
    AdvertWindowTick(app, os);
    EXPECT_EQ(sim.windows[right].parent, os.windows.popups);
    EXPECT_EQ(sim.windows[bottom].parent, os.windows.popups);
    EXPECT_EQ(sim.windows[near].parent, spotify);
    EXPECT_EQ(sim.windows[holder].parent, spotify);
    EXPECT_EQ(sim.windows[right].rect.left, 250);
    EXPECT_EQ(sim.windows[right].rect.top, 250);
    EXPECT_EQ(LogCount("Blocked:    Image advert (right)"), 1);
    EXPECT_EQ(LogCount("Blocked:    Image advert (bottom)"), 1);
    AdvertWindowTick(app, os);
    EXPECT_EQ(LogCount("Blocked:    Image advert (right)"), 1);
    EXPECT_EQ(app.advertsBlocked, 0);  // banners are not counted
}

TEST_F(ImageAdverts, TheFullScreenAdvertIsClosedAndCountedEveryTickItIsThere) {
    FullScreen(800, 435);
    AdvertWindowTick(app, os);
    EXPECT_EQ(app.advertsBlocked, 1);
    EXPECT_EQ(controls.counter, "Total Adverts Blocked: 1");
    AdvertWindowTick(app, os);  // it ignored the request
    EXPECT_EQ(app.advertsBlocked, 2);
    EXPECT_EQ(LogCount("Blocked:    Full screen advert"), 2);
}

TEST_F(ImageAdverts, OtherSizesOfTheAdvertClassAreLeftAlone) {
    FullScreen(800, 600);
    AdvertWindowTick(app, os);
    EXPECT_EQ(app.advertsBlocked, 0);
    for (int width : {799, 801}) {  // an advert's height, not its width
        sim.windows.clear();
        FullScreen(width, 345);
        app.spotifyWindow = nullptr;
        AdvertWindowTick(app, os);
        EXPECT_EQ(app.advertsBlocked, 0) << width;
    }
    sim.windows.clear();
    FullScreen(800, 345);
    app.spotifyWindow = nullptr;
    AdvertWindowTick(app, os);
    EXPECT_EQ(app.advertsBlocked, 1);
}

TEST_F(ImageAdverts, NoSpotifyWindowMeansNoEnumeration) {
    app.spotifyWindow = nullptr;
    Child(spotify, 160, 300);
    AdvertWindowTick(app, os);
    EXPECT_TRUE(sim.enumerated.empty());
    EXPECT_EQ(Log(), "");
}

}  // namespace
