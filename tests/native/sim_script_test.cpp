#include <gtest/gtest.h>

#include "sim_script.h"

TEST(SimScript, ReadsSettingsEntriesAndEvents) {
    const SimScript s = ParseSimScript(
        "# comment\r\n"
        "set timescale 20\r\n"
        "set volume 60\n"
        "set start logged-out\n"
        "set login-after 1500\n"
        "set ignore-clicks 2\n"
        "set size 900x700\n"
        "track | Simon & Garfunkel | Cecilia | 3000\n"
        "advert | Brand | Buy | 2000 | banner-right fullscreen=435\n"
        "track | A | B | 1000 | grey reopen=406x321@2500\n");
    EXPECT_TRUE(s.errors.empty()) << s.errors.front();
    EXPECT_DOUBLE_EQ(s.settings.timeScale, 20);
    EXPECT_EQ(s.settings.startVolume, 60);
    EXPECT_TRUE(s.settings.startLoggedOut);
    EXPECT_EQ(s.settings.loginAfterMs, 1500);
    EXPECT_EQ(s.settings.ignoreClicks, 2);
    EXPECT_EQ(s.settings.width, 900);
    EXPECT_EQ(s.settings.height, 700);
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_FALSE(s.entries[0].advert);
    EXPECT_EQ(s.entries[0].artist, "Simon & Garfunkel");
    EXPECT_EQ(s.entries[0].title, "Cecilia");
    EXPECT_EQ(s.entries[0].durationMs, 3000);
    EXPECT_TRUE(s.entries[1].advert);
    ASSERT_EQ(s.entries[1].events.size(), 2u);
    EXPECT_EQ(s.entries[1].events[0].kind, SimEvent::BannerRight);
    EXPECT_EQ(s.entries[1].events[0].width, 160);
    EXPECT_EQ(s.entries[1].events[1].kind, SimEvent::FullScreen);
    EXPECT_EQ(s.entries[1].events[1].height, 435);
    EXPECT_TRUE(s.entries[2].greyMusic);
    ASSERT_EQ(s.entries[2].events.size(), 1u);
    EXPECT_EQ(s.entries[2].events[0].kind, SimEvent::Reopen);
    EXPECT_EQ(s.entries[2].events[0].width, 406);
    EXPECT_EQ(s.entries[2].events[0].height, 321);
    EXPECT_EQ(s.entries[2].events[0].delayMs, 2500);
}

TEST(SimScript, ReadsTheFaultModes) {
    const SimScript s = ParseSimScript(
        "set repaint-delay 150\nset knob-hidden on\nset knob-colour C8C8C9\nset splash 2500\n"
        "advert | Brand | Buy | 3000 | volume-back=1200 restart=900\n"
        "set knob-colour DCDC\nset knob-colour DCDCDX\ntrack | A | B | 10 | restart=\n");
    EXPECT_EQ(s.settings.repaintDelayMs, 150);
    EXPECT_TRUE(s.settings.knobHidden);
    EXPECT_EQ(s.settings.knobColour, 0xC8C8C9u);
    EXPECT_EQ(s.settings.splashMs, 2500);
    ASSERT_EQ(s.entries.size(), 1u);
    ASSERT_EQ(s.entries[0].events.size(), 2u);
    EXPECT_EQ(s.entries[0].events[0].kind, SimEvent::VolumeBack);
    EXPECT_EQ(s.entries[0].events[0].delayMs, 1200);
    EXPECT_EQ(s.entries[0].events[1].kind, SimEvent::Restart);
    EXPECT_EQ(s.entries[0].events[1].delayMs, 900);
    EXPECT_EQ(s.errors.size(), 3u);  // a short colour, a bad digit, a restart without time
}

TEST(SimScript, BadLinesAreSkippedAndNamed) {
    const SimScript s = ParseSimScript(
        "track | only | three\n"
        "song | A | B | 10\n"
        "track | A | B | ten\n"
        "track | A | B | 0\n"
        "track | A | B | 10 | sparkles\n"
        "set volume 101\n"
        "set timescale 0\n"
        "set wobble on\n"
        "track | Good | One | 10\n");
    ASSERT_EQ(s.entries.size(), 1u);
    EXPECT_EQ(s.entries[0].artist, "Good");
    ASSERT_EQ(s.errors.size(), 8u);
    EXPECT_EQ(s.errors[0].rfind("line 1:", 0), 0u);
    EXPECT_EQ(s.errors[7].rfind("line 8:", 0), 0u);
}

TEST(SimScript, DefaultPlaylistParsesCleanly) {
    const SimScript s = ParseSimScript(DefaultSimScript());
    EXPECT_TRUE(s.errors.empty());
    int adverts = 0;
    for (const auto& e : s.entries) adverts += e.advert;
    EXPECT_GE(adverts, 3);
}
