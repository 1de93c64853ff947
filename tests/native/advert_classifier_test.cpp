#include <gtest/gtest.h>

#include "blocking/advert_classifier.h"
#include "client/spotify_contract.h"
#include "fake_spotify_screen.h"

namespace {

constexpr int kHeight = 600;
constexpr int kWidth = 800;
const int kAY = kHeight - spotify::kProbeAUp;
const int kBY = kHeight - spotify::kProbeBUp;

struct Classifier : ::testing::Test {
    ApplicationState app;
    FakeSpotifyScreen screen;
    void SetUp() override {
        app.spotifyWindow = reinterpret_cast<WindowHandle>(0x1234);
        app.spotifyWidth = kWidth;
        app.spotifyHeight = kHeight;
        app.currentTitle = "Spotify - Brand \xE2\x80\x93 Buy now";
    }
};

TEST_F(Classifier, GreyProbeAWithoutGreenVetoIsAnAdvert) {
    screen.Set(spotify::kProbeAX, kAY, 0x828282);
    screen.Set(spotify::kProbeBX, kBY, 0xC4FFC3);
    EXPECT_TRUE(IsAdvertPlaying(app, screen));
    EXPECT_EQ(screen.captures, 1);  // both probes read from one picture
    EXPECT_EQ(screen.lastWindow, app.spotifyWindow.load());
    EXPECT_EQ(screen.lastWidth, kWidth);
    EXPECT_EQ(screen.lastHeight, kHeight);
}

TEST_F(Classifier, AGreyDifferingInAnyComponentIsNoAdvert) {
    for (Colour c : {0x828283u, 0x828382u, 0x838282u, 0x818282u, 0x020282u}) {
        screen.Set(spotify::kProbeAX, kAY, c);
        EXPECT_FALSE(IsAdvertPlaying(app, screen)) << std::hex << c;
    }
    // Probe B is not even looked at once A says no.
    EXPECT_EQ(screen.captures, 5);
}

TEST_F(Classifier, GreenProbeBVetoesTheAdvert) {
    screen.Set(spotify::kProbeAX, kAY, 0x828282);
    screen.Set(spotify::kProbeBX, kBY, 0xC4FFC4);
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
}

TEST_F(Classifier, ProbesAreCountedFromTheWindowHeight) {
    app.spotifyHeight = 500;
    screen.Set(spotify::kProbeAX, kAY, 0x828282);  // where a 600-high window has it
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
    screen.Set(spotify::kProbeAX, 500 - spotify::kProbeAUp, 0x828282);
    EXPECT_TRUE(IsAdvertPlaying(app, screen));
}

TEST_F(Classifier, FailedCaptureIsNoAdvert) {
    screen.Set(spotify::kProbeAX, kAY, 0x828282);
    screen.captureFails = true;
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
}

TEST_F(Classifier, BareSpotifyTitleTakesNoCapture) {
    screen.Set(spotify::kProbeAX, kAY, 0x828282);
    app.currentTitle = "Spotify";
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
    EXPECT_EQ(screen.captures, 0);
}

TEST_F(Classifier, OnlyTheExactBareTitleSkipsTheProbes) {
    screen.Set(spotify::kProbeAX, kAY, 0x828282);
    for (const char* title : {"Spotify ", "spotify", "", "Spotif"}) {
        app.currentTitle = title;
        EXPECT_TRUE(IsAdvertPlaying(app, screen)) << '"' << title << '"';
    }
}

TEST_F(Classifier, IsSpotifyPlayingWantsEightCharactersOrMore) {
    screen.title = "Spotify";
    EXPECT_FALSE(IsSpotifyPlaying(app, screen));
    screen.title = "Spotify ";
    EXPECT_TRUE(IsSpotifyPlaying(app, screen));
    screen.title = "";
    EXPECT_FALSE(IsSpotifyPlaying(app, screen));
    screen.title = "Spotify - A \xE2\x80\x93 B";
    EXPECT_TRUE(IsSpotifyPlaying(app, screen));
    EXPECT_STREQ(app.probeTitleBuffer, "Spotify - A \xE2\x80\x93 B");
    EXPECT_EQ(screen.captures, 0);
}

TEST_F(Classifier, IsSpotifyPlayingReadsAtMost1023Characters) {
    screen.title = std::string(5000, 'x');
    EXPECT_TRUE(IsSpotifyPlaying(app, screen));
    EXPECT_EQ(std::string(app.probeTitleBuffer).size(), 1023u);
}

}  // namespace
