#include <gtest/gtest.h>

#include "blocking/screen_probes.h"
#include "client/spotify_contract.h"
#include "client/window_scale.h"
#include "fake_spotify_screen.h"

namespace {

struct Knob : ::testing::Test {
    ApplicationState app;
    FakeSpotifyScreen screen;
    int row = 0;
    void SetUp() override {
        app.spotifyWidth = 800;
        app.spotifyHeight = 600;
        row = 600 - spotify::kKnobRowUp;
    }
    void DrawKnob(int left) {
        for (int i = 0; i < spotify::kKnobWidth; ++i) screen.Set(left + i, row, spotify::kKnobColour);
    }
};

TEST_F(Knob, FindsTheLeftEdgeAndItsVolume) {
    struct Case { int x; int volume; };
    for (Case c : {Case{124, 0}, Case{200, 100}, Case{150, 34}, Case{162, 50}, Case{196, 95}, Case{120, -5}}) {
        screen.pixels.clear();
        DrawKnob(c.x);
        EXPECT_EQ(LocateVolumeKnob(app, screen), c.x);
        EXPECT_EQ(app.spotifyVolume, c.volume) << "x = " << c.x;
    }
}

TEST_F(Knob, ScansOnceAndOnlyTheKnobRow) {
    screen.Set(130, row - 1, spotify::kKnobColour);
    screen.Set(131, row + 1, spotify::kKnobColour);
    DrawKnob(170);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 170);
    EXPECT_EQ(screen.captures, 1);
}

TEST_F(Knob, ScanRangeIsInclusiveAtBothEnds) {
    screen.Set(119, row, spotify::kKnobColour);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 201);
    screen.Set(200, row, spotify::kKnobColour);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 200);
    screen.pixels.clear();
    screen.Set(201, row, spotify::kKnobColour);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 201);
}

TEST_F(Knob, NotFoundGives201And101Percent) {
    EXPECT_EQ(LocateVolumeKnob(app, screen), 201);
    EXPECT_EQ(app.spotifyVolume, 101);
    screen.captureFails = true;
    DrawKnob(150);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 201);
    EXPECT_EQ(app.spotifyVolume, 101);
}

TEST_F(Knob, ANearMissColourIsNotTheKnob) {
    screen.Set(140, row, 0xDCDCDD);
    screen.Set(141, row, 0xDBDCDC);
    EXPECT_EQ(LocateVolumeKnob(app, screen), 201);
}

TEST(KnobVolume, SinglePrecisionRoundingOverTheWholeTrack) {
    // Every position rounds to the nearest percent of 76 steps; the float
    // arithmetic must not drift from that anywhere on the track.
    for (int x = 124; x <= 200; ++x) {
        const double exact = (x - 124) * 100.0 / 76.0;
        EXPECT_NEAR(KnobVolume(x), exact, 0.5 + 1e-4) << "x = " << x;
    }
    EXPECT_FLOAT_EQ(KnobPercent(196), 94.736839f);
}

TEST(ProbePixel, ReadsAFreshCaptureEachTime) {
    ApplicationState app;
    app.spotifyWidth = 10;
    app.spotifyHeight = 10;
    FakeSpotifyScreen screen;
    screen.Set(3, 4, 0x123456);
    EXPECT_EQ(ProbePixel(app, screen, 3, 4), 0x123456u);
    screen.Set(3, 4, 0x654321);
    EXPECT_EQ(ProbePixel(app, screen, 3, 4), 0x654321u);
    EXPECT_EQ(ProbePixel(app, screen, 10, 4), kNoColour);
    EXPECT_EQ(ProbePixel(app, screen, -1, 4), kNoColour);
    EXPECT_EQ(screen.captures, 4);
}

}  // namespace

namespace {

// Display scaling: Spotify's bar drawn at a DPI, read in 96-DPI units.
TEST(Scaling, LengthsRoundToTheNearestAtEachScale) {
    struct Case { int dpi; int units; int pixels; };
    for (Case c : {Case{96, 25, 25}, Case{120, 25, 31}, Case{120, 90, 113}, Case{144, 25, 38}, Case{144, 23, 35},
                   Case{144, 21, 32}, Case{168, 23, 40}, Case{192, 25, 50}}) {
        EXPECT_EQ(UnitsToPixels(c.units, c.dpi), c.pixels) << c.dpi << " dpi, " << c.units;
        EXPECT_EQ(PixelsToUnits(c.pixels, c.dpi), c.units) << c.dpi << " dpi, " << c.pixels;
    }
    // Every unit length survives the trip to pixels and back at every scale.
    for (int dpi : {96, 120, 144, 168, 192, 240})
        for (int units = 0; units <= 1000; ++units) ASSERT_EQ(PixelsToUnits(UnitsToPixels(units, dpi), dpi), units);
}

TEST(Scaling, PointsHangFromTheBottomEdge) {
    // A window 801 pixels high at 144 DPI is 534 units: a point 23 units up
    // lands 35 pixels above the bottom edge, not at a rounded 511 * 1.5.
    const WindowScale scale{144, 1200, 801};
    const PixelPoint p = UnitPointToPixels(scale, 120, 534 - 23, 534);
    EXPECT_EQ(p.x, 180);
    EXPECT_EQ(p.y, 801 - 35);
    const PixelPoint same = UnitPointToPixels(WindowScale{96, 800, 600}, 120, 577, 600);
    EXPECT_EQ(same.x, 120);
    EXPECT_EQ(same.y, 577);
}

TEST(Scaling, AKnobFoundAt144DpiIsTheUnitPositionTheRestoreNeeds) {
    ApplicationState app;
    FakeSpotifyScreen screen;
    screen.scale = WindowScale{144, 1200, 900};
    app.spotifyWidth = 800;
    app.spotifyHeight = 600;
    for (int knob : {124, 150, 162, 173, 199, 200}) {
        screen.pixels.clear();
        // Drawn as a scaled client draws it: 3 units wide, on the rows around the knob row.
        for (int x = UnitsToPixels(knob, 144); x < UnitsToPixels(knob + spotify::kKnobWidth, 144); ++x)
            for (int up = UnitsToPixels(spotify::kKnobRowUp - 1, 144); up <= UnitsToPixels(spotify::kKnobRowUp + 1, 144);
                 ++up)
                screen.Set(x, 900 - up, spotify::kKnobColour);
        EXPECT_EQ(LocateVolumeKnob(app, screen), knob);
        EXPECT_EQ(screen.lastWidth, 1200);  // captured at its size in pixels
        EXPECT_EQ(screen.lastHeight, 900);
    }
}

}  // namespace
