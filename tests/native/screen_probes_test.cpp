#include <gtest/gtest.h>

#include "blocking/screen_probes.h"
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
