// The simulated client must be honest: its reactions and its record are what
// the end-to-end tests and the benchmarks believe.
#include <gtest/gtest.h>

#include "client/spotify_contract.h"
#include "sim_player.h"

namespace {

constexpr int kH = 600;
constexpr int kW = 800;

SimPlayer Start(const std::string& script) {
    SimPlayer p;
    StartSim(p, ParseSimScript(script), 0);
    return p;
}

void ClickKnob(SimPlayer& p, int x, int up, std::int64_t t) {
    SimClick(p, x, kH - up, t);
}

bool Has(const SimPlayer& p, const std::string& text) {
    for (const auto& e : p.events)
        if (e.second.find(text) != std::string::npos) return true;
    return false;
}

TEST(SimPlayer, TitleFollowsPlayStateAndEntries) {
    SimPlayer p = Start("track | Artist | Song | 1000\nadvert | Brand | Ad | 500\n");
    EXPECT_EQ(p.title, "Spotify - Artist \xE2\x80\x93 Song");
    SimClick(p, spotify::kPlayPauseX, kH - spotify::kBarClickUp, 100);
    EXPECT_EQ(p.title, "Spotify");
    SimClick(p, spotify::kPlayPauseX, kH - spotify::kBarClickUp, 200);
    EXPECT_EQ(p.title, "Spotify - Artist \xE2\x80\x93 Song");
    AdvanceSim(p, 1100);  // 900 ms played by 1000: the advert starts at 1100
    EXPECT_EQ(p.title, "Spotify - Brand \xE2\x80\x93 Ad");
    EXPECT_EQ(SimProbeAColour(p), spotify::kProbeAGrey);
    EXPECT_NE(SimProbeBColour(p), spotify::kProbeBGreen);
    AdvanceSim(p, 1600);
    EXPECT_EQ(p.title, "Spotify");
    EXPECT_TRUE(p.finished);
}

TEST(SimPlayer, KnobFollowsClicksOnAllThreeRowsAndClamps) {
    SimPlayer p = Start("track | A | B | 100000\n");
    for (int up : {23, 21, 20}) {
        ClickKnob(p, 151, up, 10);
        EXPECT_EQ(p.knobLeft, 150) << up;
        ClickKnob(p, 120, up, 20);
        EXPECT_EQ(p.knobLeft, 124);
        EXPECT_EQ(SimVolume(p), 0);
        ClickKnob(p, 212, up, 30);
        EXPECT_EQ(p.knobLeft, 200);
        EXPECT_EQ(SimVolume(p), 100);
    }
    ClickKnob(p, 160, 22, 40);  // not a slider row
    EXPECT_EQ(p.knobLeft, 200);
    ClickKnob(p, 117, 23, 50);  // left of the track
    EXPECT_EQ(p.knobLeft, 200);
}

TEST(SimPlayer, RestoreClickAtSavedEdgePlusOneLandsExactly) {
    SimPlayer p = Start("track | A | B | 100000\n");
    for (int saved = 124; saved <= 200; ++saved) {
        ClickKnob(p, saved + 1, spotify::kMuteClickUp, 10);
        ASSERT_EQ(p.knobLeft, saved);
    }
}

TEST(SimPlayer, MutingAnAdvertPausesItUnlessSwitchedOff) {
    SimPlayer p = Start("advert | Brand | Ad | 10000\n");
    ClickKnob(p, 120, 23, 100);
    EXPECT_FALSE(p.playing);
    EXPECT_EQ(p.title, "Spotify");
    EXPECT_TRUE(Has(p, "play state=paused reason=muted"));

    SimPlayer q = Start("set mute-pauses off\nadvert | Brand | Ad | 10000\n");
    ClickKnob(q, 120, 23, 100);
    EXPECT_TRUE(q.playing);

    SimPlayer music = Start("track | A | B | 10000\n");
    ClickKnob(music, 120, 23, 100);
    EXPECT_TRUE(music.playing);
}

TEST(SimPlayer, AudibleAdvertTimeIsCountedToTheMillisecond) {
    SimPlayer p = Start("set volume 50\ntrack | A | B | 1000\nadvert | Brand | Ad | 3000\ntrack | C | D | 1000\n");
    AdvanceSim(p, 1000);          // the advert starts
    ClickKnob(p, 120, 23, 1137);  // muted 137 ms later: paused
    SimClick(p, spotify::kPlayPauseX, kH - 21, 1200);
    AdvanceSim(p, 3900);
    // 137 ms played before the pause, so the advert ends at 1200 + 2863.
    ClickKnob(p, KnobLeftForVolume(50) + 1, 23, 4163);  // restored 100 ms into the track
    AdvanceSim(p, 4500);
    ASSERT_EQ(p.adverts.size(), 1u);
    EXPECT_EQ(p.adverts[0].audibleMs, 137);
    ASSERT_EQ(p.tracks.size(), 2u);
    EXPECT_TRUE(p.tracks[1].afterAdvert);
    EXPECT_EQ(p.tracks[1].userKnob, KnobLeftForVolume(50));
    EXPECT_EQ(p.tracks[1].offVolumeMs, 100);
    const std::string summary = SimSummary(p, false);
    EXPECT_NE(summary.find("advert index=0 entry=1 audible_ms=137"), std::string::npos) << summary;
    EXPECT_NE(summary.find("track entry=2 volume=50 after_advert=1 user_volume=50 knob=162 user_knob=162 restored=1"), std::string::npos)
        << summary;
}

TEST(SimPlayer, TrackLeftMutedIsReportedNotRestored) {
    SimPlayer p = Start("set volume 80\nadvert | Brand | Ad | 1000\ntrack | C | D | 1000\ntrack | E | F | 1000\n");
    ClickKnob(p, 120, 23, 10);
    SimClick(p, spotify::kPlayPauseX, kH - 21, 20);
    AdvanceSim(p, 3000);
    const std::string summary = SimSummary(p, true);
    EXPECT_NE(summary.find("track entry=1 volume=0 after_advert=1 user_volume=80 knob=124 user_knob=185 restored=0"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("final 1"), std::string::npos);
}

TEST(SimPlayer, BackToBackAdvertsKeepTheUserVolume) {
    SimPlayer p = Start("set volume 60\nadvert | X | 1 | 1000\nadvert | Y | 2 | 1000\ntrack | T | U | 1000\n");
    ClickKnob(p, 120, 23, 10);
    SimClick(p, spotify::kPlayPauseX, kH - 21, 20);
    AdvanceSim(p, 2100);
    ClickKnob(p, KnobLeftForVolume(60) + 1, 23, 2100);
    AdvanceSim(p, 2500);
    ASSERT_EQ(p.adverts.size(), 2u);
    EXPECT_EQ(p.adverts[0].audibleMs, 10);
    EXPECT_EQ(p.adverts[1].audibleMs, 0);
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].userKnob, KnobLeftForVolume(60));
    EXPECT_EQ(p.tracks[0].offVolumeMs, 90);  // the track began at 2010
}

TEST(SimPlayer, NextAndPreviousMoveThroughThePlaylistButNotPastAnAdvert) {
    SimPlayer p = Start("track | A | 1 | 9000\ntrack | B | 2 | 9000\nadvert | C | 3 | 9000\n");
    SimClick(p, spotify::kNextX, kH - 21, 10);
    EXPECT_EQ(p.title, "Spotify - B \xE2\x80\x93 2");
    SimClick(p, spotify::kPreviousX, kH - 21, 20);
    EXPECT_EQ(p.title, "Spotify - A \xE2\x80\x93 1");
    SimClick(p, spotify::kNextX, kH - 21, 30);
    SimClick(p, spotify::kNextX, kH - 21, 40);
    EXPECT_EQ(p.entry, 2);
    SimClick(p, spotify::kNextX, kH - 21, 50);
    EXPECT_EQ(p.entry, 2);
    EXPECT_TRUE(Has(p, "skip refused reason=advert"));
}

TEST(SimPlayer, ShuffleAndRepeatAreMeasuredFromTheRightEdge) {
    SimPlayer p = Start("track | A | 1 | 9000\n");
    SimClick(p, kW - 60, kH - 21, 10);
    SimClick(p, kW - 30, kH - 21, 20);
    EXPECT_TRUE(p.shuffle);
    EXPECT_TRUE(p.repeat);
    EXPECT_TRUE(Has(p, "shuffle on"));
    EXPECT_TRUE(Has(p, "repeat on"));
}

TEST(SimPlayer, StarNeedsClickThenAppsKeyThenT) {
    SimPlayer p = Start("track | A | 1 | 9000\n");
    SimKey(p, 0x5D, 10);
    SimKey(p, 'T', 20);
    EXPECT_EQ(p.stars, 0);
    SimClick(p, spotify::kStarTargetX, kH - spotify::kStarTargetUp, 30);
    SimKey(p, 0x5D, 40);
    SimKey(p, 'X', 50);
    SimKey(p, 'T', 60);
    EXPECT_EQ(p.stars, 0);
    SimClick(p, spotify::kStarTargetX, kH - spotify::kStarTargetUp, 70);
    SimKey(p, 0x5D, 80);
    SimKey(p, 0x10, 85);  // a modifier in between does not break the sequence
    SimKey(p, 'T', 90);
    EXPECT_EQ(p.stars, 1);
    EXPECT_TRUE(Has(p, "star entry=0"));
}

TEST(SimPlayer, FaultModes) {
    SimPlayer ignored = Start("set ignore-clicks 2\ntrack | A | 1 | 9000\n");
    ClickKnob(ignored, 120, 23, 10);
    ClickKnob(ignored, 120, 23, 20);
    EXPECT_EQ(ignored.knobLeft, 200);
    ClickKnob(ignored, 120, 23, 30);
    EXPECT_EQ(ignored.knobLeft, 124);

    SimPlayer slow = Start("set reaction-delay 300\ntrack | A | 1 | 9000\n");
    ClickKnob(slow, 120, 23, 100);
    AdvanceSim(slow, 399);
    EXPECT_EQ(slow.knobLeft, 200);
    AdvanceSim(slow, 400);
    EXPECT_EQ(slow.knobLeft, 124);

    SimPlayer off = Start("set knob-off-by-one on\ntrack | A | 1 | 9000\n");
    ClickKnob(off, 120, 23, 10);
    EXPECT_EQ(off.knobLeft, 125);
    ClickKnob(off, 163, 23, 20);
    EXPECT_EQ(off.knobLeft, 163);

    // The title runs ahead of the player bar.
    SimPlayer late = Start("set repaint-delay 150\ntrack | A | 1 | 1000\nadvert | B | 2 | 1000\n");
    AdvanceSim(late, 1000);
    EXPECT_EQ(late.title, "Spotify - B \xE2\x80\x93 2");
    EXPECT_NE(SimProbeAColour(late), spotify::kProbeAGrey);
    AdvanceSim(late, 1150);
    EXPECT_EQ(SimProbeAColour(late), spotify::kProbeAGrey);

    // The client sets its volume back to the listener's during the advert.
    SimPlayer back = Start("set volume 50\nadvert | B | 2 | 3000 | volume-back=500\n");
    ClickKnob(back, 120, 23, 100);
    AdvanceSim(back, 499);
    EXPECT_EQ(back.knobLeft, 124);
    AdvanceSim(back, 500);
    EXPECT_EQ(back.knobLeft, KnobLeftForVolume(50));
}

TEST(SimPlayer, ARestartComesBackUnderANewWindowWithTheVolumeItHad) {
    SimPlayer p = Start("set volume 50\nadvert | B | 2 | 3000 | restart=500\ntrack | A | 1 | 9000\n");
    ClickKnob(p, 120, 23, 100);
    p.effects.clear();
    AdvanceSim(p, 500);
    ASSERT_EQ(p.effects.size(), 1u);
    EXPECT_EQ(p.effects[0].kind, SimEffect::CloseMain);
    EXPECT_EQ(p.title, "Spotify");
    AdvanceSim(p, 1500);
    ASSERT_EQ(p.effects.size(), 2u);
    EXPECT_EQ(p.effects[1].kind, SimEffect::OpenMain);
    EXPECT_EQ(p.effects[1].width, kW);
    EXPECT_EQ(p.knobLeft, 124);
    EXPECT_EQ(p.title, "Spotify - B \xE2\x80\x93 2");  // the advert plays on
}

TEST(SimPlayer, ASplashComesFirstAndTakesNoClicks) {
    SimPlayer p = Start("set splash 1000\ntrack | A | 1 | 9000\n");
    EXPECT_EQ(p.width, 300);
    EXPECT_EQ(p.title, "Spotify");
    SimClick(p, 42, p.height - 21, 100);
    EXPECT_TRUE(Has(p, "click x=42 y=179 on splash"));
    EXPECT_FALSE(p.playing);
    AdvanceSim(p, 1000);
    ASSERT_EQ(p.effects.size(), 2u);
    EXPECT_EQ(p.effects[0].kind, SimEffect::CloseMain);
    EXPECT_EQ(p.effects[1].kind, SimEffect::OpenMain);
    EXPECT_EQ(p.effects[1].width, kW);
    EXPECT_TRUE(p.loggedIn);
    EXPECT_EQ(p.title, "Spotify - A \xE2\x80\x93 1");
}

TEST(SimPlayer, LoggedOutStartGrowsAtLogin) {
    SimPlayer p = Start("set start logged-out\nset login-after 2000\ntrack | A | 1 | 9000\n");
    EXPECT_EQ(p.width, 400);
    EXPECT_EQ(p.height, 300);
    EXPECT_EQ(p.title, "Spotify");
    AdvanceSim(p, 1999);
    EXPECT_FALSE(p.loggedIn);
    AdvanceSim(p, 2000);
    EXPECT_TRUE(p.loggedIn);
    EXPECT_EQ(p.width, 800);
    ASSERT_FALSE(p.effects.empty());
    EXPECT_EQ(p.effects.back().kind, SimEffect::Resize);
    EXPECT_EQ(p.title, "Spotify - A \xE2\x80\x93 1");
}

TEST(SimPlayer, EntryEventsBecomeWindowEffects) {
    SimPlayer p = Start("track | A | 1 | 100 | banner-right banner-bottom\n"
                        "track | B | 2 | 100 | fullscreen=345 reopen=406x320@500\n");
    ASSERT_EQ(p.effects.size(), 2u);
    EXPECT_EQ(p.effects[0].kind, SimEffect::CreateBanner);
    EXPECT_EQ(p.effects[0].width, 160);
    EXPECT_EQ(p.effects[1].height, 90);
    p.effects.clear();
    AdvanceSim(p, 100);
    ASSERT_EQ(p.effects.size(), 2u);
    EXPECT_EQ(p.effects[0].kind, SimEffect::CreateFullScreen);
    EXPECT_EQ(p.effects[0].height, 345);
    EXPECT_EQ(p.effects[1].kind, SimEffect::CloseMain);
    EXPECT_EQ(p.title, "Spotify");
    p.effects.clear();
    AdvanceSim(p, 600);
    ASSERT_EQ(p.effects.size(), 1u);
    EXPECT_EQ(p.effects[0].kind, SimEffect::OpenMain);
    EXPECT_EQ(p.effects[0].width, 406);
    EXPECT_FALSE(p.loggedIn);  // 320 high is not logged in yet
}

TEST(SimPlayer, TimeScaleShortensEntries) {
    SimPlayer p = Start("set timescale 10\ntrack | A | 1 | 10000\ntrack | B | 2 | 10000\n");
    AdvanceSim(p, 999);
    EXPECT_EQ(p.entry, 0);
    AdvanceSim(p, 1000);
    EXPECT_EQ(p.entry, 1);
}

}  // namespace
