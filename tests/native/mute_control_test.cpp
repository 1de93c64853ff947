#include <gtest/gtest.h>

#include "blocking/detection_loop.h"
#include "blocking/mute_control.h"
#include "blocking/spotify_sequence.h"
#include "client/spotify_contract.h"
#include "client/transport.h"
#include "settings/ini_file.h"
#include "sim_world.h"

namespace {

const std::string kAdvert = "advert | Brand | Buy now | 600000\ntrack | Artist | Song | 600000\n";

struct Mute : SimWorld {
    void SetUp() override {
        Connect("set volume 50\n" + kAdvert);
        app.currentTitle = sim.player.title;
    }
    int H() const { return app.spotifyHeight; }
    // The pending restore as a tick tries it, the clicks it queues run to
    // their end: whether nothing is owed any more.
    bool TryRestore(ApplicationState& a) {
        RestoreVolumeIfPending(a, os);
        FinishSequence(a, os);
        return !a.volumeRestorePending;
    }
    // A mute or restore as the ticks run it, its pauses waited out.
    void Block(ApplicationState& a, bool on) {
        SetBlocked(a, os, on);
        FinishSequence(a, os);
    }
    std::string Restore() { return RestoreRecord(); }
    bool HasRecord() { return HasRestoreRecord(); }
    // The next start of the program: a fresh state that loads the record.
    void StartAgain(ApplicationState& next) {
        next.optionsPath = app.optionsPath;
        next.spotifyWindow = app.spotifyWindow.load();
        next.muteAdverts = true;
        LoadPendingRestore(next, os);
    }
    // Runs the pending restore as the ticks do, for ms of virtual time.
    void TicksFor(ApplicationState& a, int ms) {
        for (int t = 0; t < ms; t += 50) {
            sim.Sleep(50);
            TryRestore(a);
        }
    }
};

TEST_F(Mute, CleanMuteAndRestore) {
    Block(app, true);
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(app.savedKnobX, 162);
    EXPECT_EQ(sim.player.knobLeft, 124);
    EXPECT_TRUE(sim.player.playing);  // paused by the mute, played again
    EXPECT_EQ(sim.Clicks(120, H() - 23), 1);
    EXPECT_EQ(sim.Clicks(42, H() - 21), 1);
    EXPECT_EQ(Log(),
              "Blocking:   Brand \xE2\x80\x93 Buy now\n"
              "Blocked:    Brand \xE2\x80\x93 Buy now\n");
    const std::uint64_t before = sim.now;
    Block(app, false);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_EQ(sim.Clicks(163, H() - 23), 1);
    EXPECT_EQ(sim.now - before, 25u + 50u);  // one click and the settle pause
    EXPECT_EQ(LogCount("Error:      Failed to set volume, retrying."), 0);
}

TEST_F(Mute, AlreadySilentNeedsNoRetryAndOwesNothing) {
    sim.player.knobLeft = 124;
    Block(app, true);
    EXPECT_EQ(LogCount("Error:      Failed to set volume"), 0);
    EXPECT_FALSE(HasRecord());  // the listener's own volume is 0 %
    Block(app, false);
    EXPECT_EQ(sim.player.knobLeft, 124);
    EXPECT_FALSE(app.volumeRestorePending);
}

TEST_F(Mute, KnobNeverReaching124GivesTenErrorsThenThePlayClick) {
    sim.player.settings.knobOffByOne = true;
    Block(app, true);
    EXPECT_EQ(LogCount("Error:      Failed to set volume"), 10);
    EXPECT_EQ(sim.Clicks(120, H() - 23), 11);
    // The play click comes after the last retry.
    ASSERT_GE(sim.clicks.size(), 12u);
    EXPECT_EQ(sim.clicks[10], std::make_pair(120, H() - 23));
    EXPECT_EQ(sim.clicks[11], std::make_pair(42, H() - 21));
    EXPECT_TRUE(app.advertBlocked);
}

TEST_F(Mute, RestoreSucceedingOnTheSecondCheck) {
    Block(app, true);
    TheDebugLog().logBacklog.clear();
    sim.player.clicksToIgnore = 1;
    Block(app, false);
    EXPECT_EQ(LogCount("Error:      Failed to set volume, retrying."), 1);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(app.advertBlocked);
}

TEST_F(Mute, RestoreThatNeverLandsKeepsTheRecordAndTriesAgainLater) {
    Block(app, true);
    TheDebugLog().logBacklog.clear();
    sim.player.clicksToIgnore = 1000;
    const std::uint64_t before = sim.now;
    Block(app, false);
    EXPECT_EQ(LogCount("Error:      Failed to set volume, retrying."), 10);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(sim.now - before, 25u + 50u + 10u * (25u + 750u));
    // Unverified: the listener's volume is still owed.
    EXPECT_TRUE(app.volumeRestorePending);
    EXPECT_EQ(Restore(), "162");
    sim.player.clicksToIgnore = 0;
    sim.player.entry = 1;  // a track plays now
    EXPECT_FALSE(TryRestore(app));  // not within a second
    EXPECT_EQ(sim.player.knobLeft, 124);
    sim.Sleep(1000);
    EXPECT_TRUE(TryRestore(app));
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(HasRecord());
}

TEST_F(Mute, AKnobThatCannotBeSeenIsNeverARestoreTarget) {
    for (const bool hidden : {true, false}) {
        sim.player.settings.knobHidden = hidden;
        sim.player.settings.knobColour = hidden ? spotify::kKnobColour : 0xC8C8C8;
        sim.clicks.clear();
        Block(app, true);
        EXPECT_FALSE(app.advertBlocked);
        EXPECT_TRUE(sim.clicks.empty());  // neither a mute click nor a play click
        EXPECT_FALSE(HasRecord());
        EXPECT_EQ(sim.player.knobLeft, 162);
    }
    EXPECT_EQ(LogCount("Error:      Volume knob not found, advert not silenced"), 2);
    // The listener is told once, in the tray, until an advert finds the knob.
    EXPECT_EQ(controls.notices.size(), 1u);
    EXPECT_TRUE(controls.trayGreyed);
    EXPECT_EQ(controls.trayTip.rfind("Adquell 0.4: Adverts are not silenced", 0), 0u) << controls.trayTip;
    // A volume step from an unknown knob does nothing either.
    VolumeUp(app, os);
    EXPECT_TRUE(sim.clicks.empty());
    sim.player.settings.knobColour = spotify::kKnobColour;
    Block(app, true);
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_FALSE(controls.trayGreyed);
    EXPECT_EQ(controls.trayTip, "Adquell 0.4");
    EXPECT_EQ(controls.notices.size(), 1u);
}

TEST_F(Mute, AnAdvertWhileARestoreIsPendingKeepsTheListenersVolume) {
    Block(app, true);
    sim.player.clicksToIgnore = 1000;
    Block(app, false);  // the knob stays at 0 %
    ASSERT_TRUE(app.volumeRestorePending);
    sim.player.clicksToIgnore = 0;
    Block(app, true);
    EXPECT_EQ(app.savedKnobX, 162);
    EXPECT_EQ(Restore(), "162");
    Block(app, false);
    EXPECT_EQ(sim.player.knobLeft, 162);
}

TEST_F(Mute, ResumeLoopIsBounded) {
    const int h = H();
    sim.dropClick = [h](int x, int y) { return x == 42 && y == h - 21; };
    Block(app, true);
    EXPECT_EQ(LogCount("Error:      Failed to resume"), 10);
    EXPECT_EQ(LogCount("Error:      Spotify did not resume"), 1);
    EXPECT_EQ(sim.Clicks(42, h - 21), 11);
    EXPECT_NE(Log().find("Blocked:    Brand \xE2\x80\x93 Buy now\n"), std::string::npos);
    EXPECT_TRUE(app.advertBlocked);
}

TEST_F(Mute, TheKnobToRestoreIsKeptForTheUserWhileMutedAndOptionsStayAsTheyWere) {
    Block(app, true);
    EXPECT_EQ(Restore(), "162");
    Block(app, false);
    EXPECT_FALSE(HasRecord());
    EXPECT_EQ(dir.Read("Options.ini"), " [Options]\r\n Mute=True\r\n");
}

TEST_F(Mute, APendingRestoreWaitsForALoggedInMainWindow) {
    Block(app, true);  // then the program ends while muted
    sim.player.entry = 1;       // and the advert is over by the next start
    ApplicationState next;
    StartAgain(next);
    next.spotifyWindow = nullptr;
    ASSERT_TRUE(next.volumeRestorePending);
    EXPECT_FALSE(TryRestore(next));  // no window yet
    // A splash window of the client's class: no slider to click.
    next.spotifyWindow = sim.AddWindow(SimWindow{spotify::kMainWindowClass, "Spotify", {0, 0, 300, 200}});
    sim.clicks.clear();
    EXPECT_FALSE(TryRestore(next));
    EXPECT_TRUE(sim.clicks.empty());
    next.spotifyWindow = app.spotifyWindow.load();
    EXPECT_TRUE(TryRestore(next));
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(next.volumeRestorePending);
    EXPECT_FALSE(HasRecord());
    EXPECT_TRUE(TryRestore(next));  // nothing more to do
}

TEST_F(Mute, APendingRestoreDuringAnAdvertTakesItAsSilenced) {
    Block(app, true);
    ApplicationState next;
    StartAgain(next);
    sim.clicks.clear();
    EXPECT_TRUE(TryRestore(next));
    EXPECT_TRUE(next.advertBlocked);
    EXPECT_TRUE(sim.clicks.empty());
    EXPECT_EQ(Restore(), "162");  // kept until the advert ends
    // With Mute Adverts off the listener wants to hear it: back at once.
    ApplicationState hearing;
    StartAgain(hearing);
    hearing.muteAdverts = false;
    EXPECT_TRUE(TryRestore(hearing));
    EXPECT_FALSE(hearing.advertBlocked);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(HasRecord());
}

TEST_F(Mute, AnUnreadableRestoreValueIsForgotten) {
    for (const char* value : {"../9", "201", "119", "", "162x"}) {
        installer.registry[kProgramUserKey]["Restore"] = value;
        LoadPendingRestore(app, os);
        EXPECT_FALSE(app.volumeRestorePending) << value;
        EXPECT_TRUE(TryRestore(app));
        EXPECT_TRUE(sim.clicks.empty());
        EXPECT_FALSE(HasRecord()) << value;
    }
}

TEST_F(Mute, ARecordLeftInOptionsByAnEarlierVersionIsTakenOverOnce) {
    sim.player.knobLeft = 124;
    sim.player.entry = 1;
    dir.Write("Options.ini", " [Options]\r\n Restore=173\r\n Mute=True\r\n");
    LoadPendingRestore(app, os);
    EXPECT_EQ(Restore(), "173");
    EXPECT_EQ(dir.Read("Options.ini"), " [Options]\r\n Mute=True\r\n");
    EXPECT_TRUE(TryRestore(app));
    EXPECT_EQ(sim.player.knobLeft, 173);
    EXPECT_FALSE(HasRecord());
}

// The listener's own volume is never overridden: a knob found anywhere but at
// 0 % (where the mute left it) is the listener's choice.
TEST_F(Mute, AVolumeTheListenerSetAfterAnEndIsLeftAsSet) {
    Block(app, true);   // the program ends while muted
    sim.player.entry = 1;
    sim.player.knobLeft = 130;   // the listener drags it to about 8 %
    ApplicationState next;
    StartAgain(next);
    sim.clicks.clear();
    EXPECT_TRUE(TryRestore(next));
    EXPECT_TRUE(sim.clicks.empty());
    EXPECT_EQ(sim.player.knobLeft, 130);
    EXPECT_FALSE(HasRecord());
    EXPECT_EQ(LogCount("Spotify:    The volume was changed since it was silenced; left as it is"), 1);
}

TEST_F(Mute, AKnobUnseenWhileARestoreIsPendingIsNeverClickedAndTheListenerToldOnce) {
    Block(app, true);
    sim.player.entry = 1;  // a track plays at 0 %
    sim.player.settings.knobHidden = true;
    ApplicationState next;
    StartAgain(next);
    sim.clicks.clear();
    TicksFor(next, 8500);  // nine scans, a second apart
    EXPECT_TRUE(controls.notices.empty());
    TicksFor(next, 1000);  // the tenth
    EXPECT_EQ(controls.notices.size(), 1u);
    TicksFor(next, 60000);
    EXPECT_TRUE(sim.clicks.empty());
    ASSERT_EQ(controls.notices.size(), 1u);
    EXPECT_NE(controls.notices[0].find("50 %"), std::string::npos) << controls.notices[0];
    EXPECT_EQ(Restore(), "162");
    EXPECT_TRUE(controls.trayGreyed);
    // Seen again at a later title, at 0 %: clicked back.
    sim.player.settings.knobHidden = false;
    sim.Sleep(50);
    DetectionTick(next, os);  // a title it has not judged yet
    FinishSequence(next, os);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(HasRecord());
    EXPECT_EQ(controls.notices.size(), 1u);
    EXPECT_FALSE(controls.trayGreyed);
}

TEST_F(Mute, AClientNotPlayingYetIsNoFailedScan) {
    Block(app, true);
    sim.player.entry = 1;
    sim.player.playing = false;  // still starting: its player bar may not be drawn
    sim.player.settings.knobHidden = true;
    ApplicationState next;
    StartAgain(next);
    sim.clicks.clear();
    TicksFor(next, 30000);
    EXPECT_TRUE(controls.notices.empty());
    EXPECT_TRUE(sim.clicks.empty());
    sim.player.settings.knobHidden = false;  // drawn now
    TicksFor(next, 300);
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_FALSE(HasRecord());
}

TEST_F(Mute, AKnobTheListenerMovedBeforeTheAdvertEndsIsLeftThere) {
    Block(app, true);
    sim.player.knobLeft = 147;
    Block(app, false);
    EXPECT_EQ(sim.player.knobLeft, 147);
    EXPECT_FALSE(HasRecord());
    EXPECT_FALSE(app.volumeRestorePending);
}

TEST_F(Mute, AKnobMovedByTheListenerWhileARestoreIsPendingIsTheNextAdvertsVolume) {
    Block(app, true);
    sim.player.clicksToIgnore = 1000;
    Block(app, false);  // unverified: pending at 162
    ASSERT_TRUE(app.volumeRestorePending);
    sim.player.clicksToIgnore = 0;
    sim.player.knobLeft = 147;  // the listener sets about 30 %
    Block(app, true);  // a new advert
    EXPECT_EQ(Restore(), "147");
    Block(app, false);
    EXPECT_EQ(sim.player.knobLeft, 147);
}

TEST_F(Mute, ARestartedClientIsGivenItsVolumeAtOnce) {
    Block(app, true);
    sim.CloseWindow(app.spotifyWindow);
    Block(app, false);  // the window is gone: owed
    ASSERT_TRUE(app.volumeRestorePending);
    const std::uint64_t gone = sim.now;
    app.spotifyWindow = sim.AddWindow(SimWindow{spotify::kMainWindowClass, "", {100, 50, 900, 650}});
    sim.spotify = app.spotifyWindow;
    sim.player.entry = 1;
    EXPECT_TRUE(TryRestore(app));  // not held back by the once-a-second pace
    EXPECT_EQ(sim.player.knobLeft, 162);
    EXPECT_LT(sim.now - gone, 500u);
}

TEST_F(Mute, ClickIsAPostedPressAndReleaseTwentyFiveMillisecondsLong) {
    const std::uint64_t before = sim.now;
    ClickSpotify(app, os, 84, H() - 21);
    EXPECT_EQ(sim.now - before, 25u);
    EXPECT_EQ(sim.Clicks(84, H() - 21), 1);
}

TEST(VolumeArithmetic, StepsFromTheKnob) {
    EXPECT_EQ(ComputeVolumeStep(162, 10).sliderPosition, 60);
    EXPECT_EQ(ComputeVolumeStep(162, 10).clickX, 171);
    EXPECT_EQ(ComputeVolumeStep(196, 10).sliderPosition, 105);
    EXPECT_EQ(ComputeVolumeStep(196, 10).clickX, 205);
    EXPECT_EQ(ComputeVolumeStep(200, 10).clickX, 209);
    EXPECT_EQ(ComputeVolumeStep(124, -10).sliderPosition, -10);
    EXPECT_EQ(ComputeVolumeStep(124, -10).clickX, 117);
}

TEST(VolumeArithmetic, FollowClickIsFloorOfPoint77P) {
    EXPECT_EQ(FollowClickX(0), 123);
    EXPECT_EQ(FollowClickX(50), 161);
    EXPECT_EQ(FollowClickX(100), 200);
    for (int p = 0; p <= 100; ++p) EXPECT_EQ(FollowClickX(p), 123 + 77 * p / 100) << p;
}

TEST_F(Mute, VolumeUpAndDownMoveTheSliderAndClickTheStepRow) {
    VolumeUp(app, os);
    EXPECT_EQ(controls.slider, 60);
    EXPECT_EQ(sim.Clicks(171, H() - 21), 1);
    EXPECT_EQ(sim.player.knobLeft, 170);
    VolumeDown(app, os);
    EXPECT_EQ(sim.Clicks(163, H() - 21), 1);  // 60.53 - 10 points
    SetSpotifyVolume(app, os, 100);
    EXPECT_EQ(sim.Clicks(200, H() - 20), 1);
    EXPECT_EQ(sim.player.knobLeft, 199);
}

}  // namespace
