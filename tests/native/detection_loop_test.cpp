// The detection loop against the simulated client on a virtual clock: one case
// per transition, and the cases where a fault would hide.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "app/hotkey_commands.h"
#include "app/main_commands.h"
#include "blocking/detection_loop.h"
#include "blocking/spotify_sequence.h"
#include "client/spotify_contract.h"
#include "settings/ini_file.h"
#include "sim_world.h"

namespace {

const char* kPlaylist =
    "set volume 50\n"
    "track  | Artist | Song    | 10000\n"
    "advert | Brand  | Ad      | 5000\n"
    "track  | Next   | One     | 10000\n"
    "track  | Last   | Two     | 10000\n";

struct Detection : SimWorld {
    void SetUp() override {
        Connect(kPlaylist);
        app.muteAdverts = true;
    }
    // Lets playlist time pass, then runs one tick and the ticks, 50 ms apart,
    // that finish what it started (a mute, an advert's end).
    void Tick(int ms = 50) {
        sim.Sleep(ms);
        DetectionTick(app, os);
        for (int i = 0; i < 1000 && SequenceRunning(app); ++i) {
            sim.Sleep(50);
            DetectionTick(app, os);
        }
    }
    void ToAdvert() {
        Tick();
        Tick(10000);  // the first track ends, the advert begins
    }
    void UseFiller(std::int64_t duration = 3000000) {
        app.playMp3 = true;
        app.mp3Files = {L"C:\\Music\\filler.mp3"};
        app.mp3Count = 1;
        graph.files[L"C:\\Music\\filler.mp3"] = Playable(duration);
        graph.files[L"C:\\Music\\filler.mp3"].positions = {0};
    }
    void FillerEnds() { graph.files[L"C:\\Music\\filler.mp3"].positions = {graph.files[L"C:\\Music\\filler.mp3"].duration}; }
    int Knob() const { return sim.player.knobLeft; }
};

TEST_F(Detection, FirstTickOnAPausedClientDoesNothing) {
    Connect(std::string("set autoplay off\n") + kPlaylist);
    Tick();
    EXPECT_EQ(app.currentTitle, "Spotify");
    EXPECT_EQ(app.previousTitle, "");
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(controls.playCaption, "Play");
    EXPECT_EQ(sim.captures, 0);
}

TEST_F(Detection, ATrackIsCheckedAndShownOnTwoLines) {
    Tick();
    EXPECT_EQ(Log(), "Checked:    Artist \xE2\x80\x93 Song\n");
    EXPECT_EQ(controls.status, "Artist\nSong");
    EXPECT_EQ(controls.playCaption, "Pause");
    EXPECT_EQ(app.previousTitle, "Spotify - Artist \xE2\x80\x93 Song");
    // The settling ticks look at the pixels again; after them an unchanged
    // title costs one read, no capture, nothing else.
    for (int i = 0; i < 6; ++i) Tick();
    const int captures = sim.captures;
    Tick();
    Tick();
    EXPECT_EQ(sim.captures, captures);
    EXPECT_EQ(Log(), "Checked:    Artist \xE2\x80\x93 Song\n");
}

TEST_F(Detection, AnAdvertIsSilencedCountedAndShown) {
    ToAdvert();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
    EXPECT_TRUE(sim.player.playing);
    EXPECT_EQ(app.advertsBlocked, 1);
    EXPECT_EQ(controls.counter, "Adquelled: 1");
    EXPECT_EQ(controls.status, "Blocked: Brand \xE2\x80\x93 Ad");
    EXPECT_EQ(controls.playCaption, "Pause");
}

// Every capture before the mute click is time the advert is heard: the verdict
// and the knob are read from the same one, in the tick that sees the title.
TEST_F(Detection, TheMuteClickFollowsOneCapture) {
    Tick();
    int capturesAtMute = -1;
    sim.dropClick = [&](int x, int) {
        if (x == spotify::kMuteClickX && capturesAtMute < 0) capturesAtMute = sim.captures;
        return false;
    };
    sim.Sleep(10000);  // the advert begins
    const int before = sim.captures;
    DetectionTick(app, os);
    EXPECT_EQ(capturesAtMute - before, 1);
    EXPECT_EQ(Knob(), 124);
}

// An idle tick asks Spotify's window only its title; a window minimised
// meanwhile is still parked before the next advert is judged.
TEST_F(Detection, AnIdleTickAsksSpotifysWindowOnlyItsTitle) {
    for (int i = 0; i < 7; ++i) Tick();  // the track, then its settling ticks
    const int questions = sim.windowQuestions;
    for (int i = 0; i < 20; ++i) Tick();
    EXPECT_EQ(sim.windowQuestions, questions);
    sim.windows[sim.spotify].iconic = true;
    sim.foreground = os.windows.main;
    Tick(10000 - 27 * 50);  // the advert begins
    EXPECT_TRUE(app.spotifyParked);
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
    // Between looks, a parked window the user activates comes back at once.
    Tick(5000);  // the next track
    for (int i = 0; i < 7; ++i) Tick();
    ASSERT_TRUE(app.spotifyParked);
    sim.foreground = sim.spotify;
    Tick();
    EXPECT_FALSE(app.spotifyParked);
}

TEST_F(Detection, WithMuteAdvertsOffOnlyTheCaptionChanges) {
    app.muteAdverts = false;
    Tick();
    controls.playCaption = "Play";
    Tick(10000);
    EXPECT_EQ(controls.playCaption, "Pause");
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(app.advertsBlocked, 0);
    EXPECT_EQ(Knob(), 162);
    EXPECT_EQ(controls.status, "Artist\nSong");
    EXPECT_EQ(Log(), "Checked:    Artist \xE2\x80\x93 Song\n");
}

TEST_F(Detection, TheAdvertEndsAndTheVolumeComesBack) {
    ToAdvert();
    Tick(5000);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(Knob(), 162);
    EXPECT_EQ(controls.status, "Next\nOne");
    EXPECT_NE(Log().find("Checked:    Next \xE2\x80\x93 One\n"), std::string::npos);
    const std::string summary = SimSummary(sim.player, false);
    EXPECT_NE(summary.find("track entry=2 volume=50 after_advert=1 user_volume=50 knob=162 user_knob=162 restored=1"),
              std::string::npos)
        << summary;
    // The volume comes back only after a 420 ms wait: the next track's start
    // would otherwise carry the advert's last moments.
    const size_t off = summary.find("off_volume_ms=", summary.find("track entry=2"));
    ASSERT_NE(off, std::string::npos) << summary;
    EXPECT_GE(std::atol(summary.c_str() + off + 14), 420) << summary;
}

TEST_F(Detection, TwoAdvertsInARowAreSilencedOnceAndCountedTwice) {
    Connect("set volume 50\ntrack | A | B | 1000\nadvert | X | One | 3000\nadvert | Y | Two | 3000\ntrack | C | D | 9000\n");
    Tick();
    Tick(1000);
    ASSERT_TRUE(app.advertBlocked);
    const int muteClicks = sim.Clicks(120, app.spotifyHeight - 23);
    TheDebugLog().logBacklog.clear();
    Tick(3000);
    EXPECT_EQ(sim.Clicks(120, app.spotifyHeight - 23), muteClicks);  // no second SetBlocked(true)
    EXPECT_EQ(app.advertsBlocked, 2);
    EXPECT_EQ(controls.counter, "Adquelled: 2");
    EXPECT_EQ(controls.status, "Blocked: Y \xE2\x80\x93 Two");
    EXPECT_EQ(Log(), "Blocking:   Y \xE2\x80\x93 Two\nBlocked: Y \xE2\x80\x93 Two\n");
    Tick(3000);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(Knob(), 162);
}

TEST_F(Detection, PlayMp3WithNothingPlayableStillCountsAndKeepsTheLabel) {
    app.playMp3 = true;
    Tick();
    ToAdvert();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(app.advertsBlocked, 1);
    EXPECT_EQ(controls.status, "Artist\nSong");
    EXPECT_NE(Log().find("Error:      Unabled to load MP3s\n"), std::string::npos);
}

TEST_F(Detection, FillerPlaysDuringTheAdvertAtTheListenersVolume) {
    UseFiller();
    controls.slider = 70;  // the listener has since turned Spotify to 50 %
    ToAdvert();
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_TRUE(graph.running);
    EXPECT_EQ(controls.slider, 50);
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(50));
    EXPECT_EQ(controls.status, "filler.mp3");
    EXPECT_EQ(app.advertsBlocked, 1);
}

TEST_F(Detection, AFillerTrackEndingDuringTheAdvertStartsAnother) {
    UseFiller();
    ToAdvert();
    const int loads = graph.loads[L"C:\\Music\\filler.mp3"];
    FillerEnds();
    Tick();
    EXPECT_EQ(graph.loads[L"C:\\Music\\filler.mp3"], loads + 1);
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_TRUE(app.advertBlocked);
}

TEST_F(Detection, TheFillerFinishesAfterTheAdvertThenSpotifyResumes) {
    UseFiller();
    ToAdvert();
    Tick(5000);  // music again while the filler plays: Spotify paused, volume back
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_FALSE(sim.player.playing);
    EXPECT_EQ(Knob(), 162);
    EXPECT_EQ(controls.status, "filler.mp3");
    Tick();  // Spotify shows "Spotify": the filler keeps the label and caption
    EXPECT_EQ(controls.status, "filler.mp3");
    EXPECT_EQ(app.previousTitle, "");
    FillerEnds();
    Tick();
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_TRUE(sim.player.playing);
    EXPECT_NE(Log().find("MP3:        Stopped.\n"), std::string::npos);
    Tick();
    EXPECT_EQ(controls.status, "Next\nOne");
}

TEST_F(Detection, SpotifyPlayingOnOverTheFillerIsPausedAgain) {
    UseFiller();
    ToAdvert();
    sim.player.clicksToIgnore = 1;  // the first pause click does not land
    Tick(5000);
    EXPECT_EQ(LogCount("Error:      Failed to pause Spotify. (2)"), 1);
    EXPECT_FALSE(sim.player.playing);
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_EQ(Knob(), 162);
}

// The window answers between ticks: through an advert, clicks that need
// retrying and its end with the filler still playing, no tick waits out the
// pauses between Spotify's clicks; the next track still plays at 50 %.
TEST_F(Detection, NoTickWaitsMuchLongerThanATick) {
    UseFiller();
    std::uint64_t longest = 0;
    for (int t = 0; t < 20000 / 50; ++t) {
        sim.Sleep(50);
        if (t == 199) sim.player.clicksToIgnore = 3;  // the mute is clicked again, 300 ms apart
        const std::uint64_t before = sim.now;
        DetectionTick(app, os);
        longest = std::max(longest, sim.now - before);
        if (t == 250) FillerEnds();
    }
    EXPECT_LE(longest, 50u);  // at most two clicks (25 ms each), no pause
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(Knob(), 162);
    EXPECT_EQ(LogCount("Error:      Failed to set volume"), 3);
}

// A volume hotkey pressed while the advert's end waits to give the volume back
// is heard after it: one step up from the listener's 50 %, not from 0 %.
TEST_F(Detection, AHotkeyDuringAnAdvertsEndWaitsForTheVolumeToComeBack) {
    ToAdvert();
    sim.Sleep(5000);
    DetectionTick(app, os);  // the advert has ended: 420 ms before the volume comes back
    ASSERT_TRUE(SequenceRunning(app));
    WhenSpotifyIsFree(app, [&] { DispatchHotkey(app, os, kHotkeyVolumeUp); });
    Tick();
    EXPECT_EQ(Knob(), 124 + 46);  // 60 %
    EXPECT_FALSE(app.volumeRestorePending);
}

TEST_F(Detection, TheFillerEndingOnAnAdvertDoesNotResumeSpotify) {
    UseFiller();
    ToAdvert();
    Tick(5000);
    Tick();
    // Spotify (paused) has moved on to an advert meanwhile: probe A is grey.
    sim.player.entry = 1;
    FillerEnds();
    Tick();
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_FALSE(sim.player.playing);
}

TEST_F(Detection, TheFillerPlaysAtTheListenersVolumeFileAfterFile) {
    Connect(std::string(kPlaylist).replace(0, 14, "set volume 30\n"));
    UseFiller();
    ToAdvert();
    ASSERT_TRUE(app.fillerPlaying);
    EXPECT_EQ(controls.slider, 30);
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(30));
    FillerEnds();
    Tick();  // the next file, a new graph
    EXPECT_EQ(graph.loads[L"C:\\Music\\filler.mp3"], 2);
    EXPECT_EQ(graph.volume, FillerVolumeFromSlider(30));
}

TEST_F(Detection, ATrackChangeStopsAFillerStillPlaying) {
    UseFiller();
    PlayMp3(app, filler, controls, true);
    ASSERT_TRUE(app.fillerPlaying);
    Tick();
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_FALSE(graph.running);
}

TEST_F(Detection, PausingShowsPlayAndTheIdleFaceAndRestoresAnAdvertsVolume) {
    ToAdvert();
    SimClick(sim.player, 42, app.spotifyHeight - 21, static_cast<std::int64_t>(sim.now));
    Tick();
    EXPECT_EQ(controls.playCaption, "Play");
    EXPECT_EQ(controls.status, "^__^");
    EXPECT_EQ(app.previousTitle, "");
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(Knob(), 162);
    // Resumed, the same advert is a new title again.
    SimClick(sim.player, 42, app.spotifyHeight - 21, static_cast<std::int64_t>(sim.now));
    Tick();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(app.advertsBlocked, 2);
}

TEST_F(Detection, ResumingATrackChecksItAgain) {
    Tick();
    SimClick(sim.player, 42, app.spotifyHeight - 21, static_cast<std::int64_t>(sim.now));
    Tick();
    SimClick(sim.player, 42, app.spotifyHeight - 21, static_cast<std::int64_t>(sim.now));
    Tick();
    EXPECT_EQ(LogCount("Checked:    Artist \xE2\x80\x93 Song"), 2);
}

TEST_F(Detection, AnEmptyTitleCountsAsNewOnce) {
    Tick();
    sim.CloseWindow(sim.spotify);
    TheDebugLog().logBacklog.clear();
    Tick();
    EXPECT_EQ(Log(), "Checked:    \n");
    EXPECT_EQ(controls.status, "");
    Tick();
    EXPECT_EQ(Log(), "Checked:    \n");
}

TEST_F(Detection, SpotifyGoneWhileSilencedLeavesTheRestorePendingForItsNextWindow) {
    ToAdvert();
    sim.CloseWindow(sim.spotify);
    sim.clicks.clear();
    Tick();
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_TRUE(sim.clicks.empty());  // nothing clicked into a window that has gone
    EXPECT_TRUE(app.volumeRestorePending);
    EXPECT_EQ(LogCount("Error:      Volume not restored yet, retrying once Spotify's window is back"), 1);
    EXPECT_EQ(RestoreRecord(), "162");
    // Spotify is back, with the volume it had (0 %), playing the next track.
    sim.player.entry = 2;
    sim.spotify = sim.AddWindow(SimWindow{spotify::kMainWindowClass, "", {100, 50, 900, 650}});
    app.spotifyWindow = sim.spotify;
    Tick();  // a new window is tried at once
    EXPECT_EQ(Knob(), 162);
    EXPECT_FALSE(app.volumeRestorePending);
    EXPECT_FALSE(HasRestoreRecord());
}

TEST_F(Detection, AnAdvertPaintedLateIsStillSilenced) {
    Connect(std::string("set repaint-delay 120\n") + kPlaylist);
    Tick();
    for (int i = 0; i < 6; ++i) Tick();
    Tick(10000 - 6 * 50);  // the advert's title, the track's pixels
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(LogCount("Checked:    Brand \xE2\x80\x93 Ad"), 1);
    Tick();
    Tick();
    Tick();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
    EXPECT_EQ(app.advertsBlocked, 1);
}

TEST_F(Detection, AWindowThatCannotBeReadWhileSettlingKeepsTheAdvertSilent) {
    ToAdvert();
    ASSERT_TRUE(app.advertBlocked);
    sim.captureFails = true;
    Tick();
    Tick();
    sim.captureFails = false;
    // Minimised by the user a moment after the advert began, then parked: a
    // copy of the screen shows what is there instead of Spotify.
    sim.windows[sim.spotify].iconic = true;
    sim.foreground = os.windows.main;
    sim.captureShowsDesktop = true;
    Tick();
    EXPECT_TRUE(app.spotifyParked);
    Tick();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
    EXPECT_EQ(LogCount("Checked:    Brand \xE2\x80\x93 Ad"), 0);
}

TEST_F(Detection, ASongTakenForAnAdvertGetsItsVolumeBack) {
    Connect(std::string("set repaint-delay 120\n") + kPlaylist);
    ToAdvert();
    for (int i = 0; i < 6; ++i) Tick();
    ASSERT_TRUE(app.advertBlocked);
    Tick(5000 - 6 * 50);  // the track's title, the advert's pixels
    EXPECT_TRUE(app.advertBlocked);
    Tick();
    Tick();
    Tick();
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_EQ(Knob(), 162);
    // After the settling ticks an unchanged title is not judged again.
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_EQ(LogCount("Checked:    Next \xE2\x80\x93 One"), 1);
}

TEST_F(Detection, AVolumeSetBackDuringAnAdvertIsSilencedAgain) {
    Connect("set volume 50\ntrack | Artist | Song | 10000\nadvert | Brand | Ad | 5000 | volume-back=1000\n"
            "track | Next | One | 10000\n");
    ToAdvert();
    ASSERT_EQ(Knob(), 124);
    Tick(1000);
    EXPECT_EQ(Knob(), 124);
    EXPECT_TRUE(sim.player.playing);  // made to play on, silently
    EXPECT_EQ(LogCount("Error:      Spotify's volume came back during an advert"), 1);
    Tick(4000);
    EXPECT_EQ(Knob(), 162);
}

TEST_F(Detection, NothingActsOnceSpotifyHasBeenLeftUntilTheEndIsCalledOff) {
    Tick();
    LeaveSpotifyAsFound(app, os);
    Tick(10000);  // the advert begins
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_TRUE(sim.clicks.empty());
    ComeBackAfterCancelledEnd(app);
    Tick();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
}

TEST_F(Detection, AnEndCalledOffMidAdvertSilencesTheAdvertAgain) {
    ToAdvert();
    for (int i = 0; i < 10; ++i) Tick();  // settled: the title is no longer judged again
    LeaveSpotifyAsFound(app, os);
    EXPECT_EQ(Knob(), 162);  // the silence does not outlive the program
    ComeBackAfterCancelledEnd(app);
    Tick();
    EXPECT_EQ(Knob(), 124);
    EXPECT_TRUE(app.advertBlocked);
}

// Brought back from off-screen at an end, the window is drawn a moment later:
// the volume is still given back before the program goes.
// A window that cannot be read at a new title is said in the tray (adverts
// cannot be told from music), until a capture works again or the window goes.
TEST_F(Detection, AWindowThatCannotBeReadAtANewTitleIsToldUntilItCanBe) {
    Tick();
    sim.captureFails = true;
    Tick(10000);  // the advert's title: not judged
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_TRUE(controls.trayGreyed);
    EXPECT_EQ(controls.trayTip.rfind("Adquell 0.4: Spotify's window cannot be read", 0), 0u) << controls.trayTip;
    sim.captureFails = false;
    Tick(5000);  // the next track, read
    EXPECT_FALSE(controls.trayGreyed);
    sim.captureFails = true;
    Tick(10000);
    EXPECT_TRUE(controls.trayGreyed);
    EXPECT_EQ(controls.notices.size(), 2u);  // told each time it began
    sim.CloseWindow(sim.spotify);  // closed: no window to read, no such trouble
    Tick();
    EXPECT_FALSE(controls.trayGreyed);
}

TEST_F(Detection, AnEndGivesTheVolumeBackOnceTheUnparkedWindowIsDrawn) {
    ToAdvert();
    for (int i = 0; i < 10; ++i) Tick();
    sim.captureFails = true;
    const std::uint64_t drawnAt = sim.now + 600;
    std::function<void()> draw = [&] {
        if (sim.now >= drawnAt) sim.captureFails = false;
        else sim.whileReading = draw;
    };
    sim.whileReading = draw;
    LeaveSpotifyAsFound(app, os);
    EXPECT_EQ(Knob(), 162);
    EXPECT_FALSE(HasRestoreRecord());
}

// A slow client has not acted on the mute click when Windows logs off: the
// volume is put back after the mute lands, not before it.
TEST_F(Detection, AnEndBeforeASlowClientActsOnTheMuteStillGivesTheVolumeBack) {
    Connect(std::string("set reaction-delay 300\n") + kPlaylist);
    Tick();
    sim.Sleep(10000);  // the advert begins
    DetectionTick(app, os);
    ASSERT_TRUE(app.advertBlocked);
    LeaveSpotifyAsFound(app, os);
    sim.Sleep(2000);
    EXPECT_EQ(Knob(), 162);
    EXPECT_FALSE(HasRestoreRecord());
    EXPECT_TRUE(sim.player.playing);  // paused by the mute, played on as it was
}

// Windows asks to log off while the mute sequence waits on Spotify: the
// volume is given back, and the sequence does not silence it again after.
TEST_F(Detection, AnEndDuringTheMuteSequenceGivesTheVolumeBackForGood) {
    for (const bool afterTheClick : {false, true}) {
        Connect(kPlaylist);
        ComeBackAfterCancelledEnd(app);
        app.advertBlocked = false;
        app.previousTitle.clear();
        Tick();
        sim.Sleep(10000);  // the advert begins
        // Before the mute click: during the capture the advert is judged by
        // (the title is read first); after it: once the knob is at 0 %.
        int reads = 0;
        std::function<void()> leave = [&] {
            if (afterTheClick ? Knob() != 124 : ++reads < 2) sim.whileReading = leave;
            else LeaveSpotifyAsFound(app, os);
        };
        sim.whileReading = leave;
        DetectionTick(app, os);
        for (int i = 0; i < 10; ++i) Tick();
        EXPECT_EQ(Knob(), 162) << afterTheClick;
        EXPECT_FALSE(app.advertBlocked) << afterTheClick;
        EXPECT_FALSE(HasRestoreRecord()) << afterTheClick;
        EXPECT_EQ(LogCount("Blocked:    Brand \xE2\x80\x93 Ad"), 0) << afterTheClick;
    }
}

// Windows logs off while a slow client makes the mute click be retried: the
// leave's own restore still clicks the volume back.
TEST_F(Detection, AnEndWhileTheMuteIsRetriedGivesTheVolumeBack) {
    Connect(std::string("set reaction-delay 700\n") + kPlaylist);
    Tick();
    sim.Sleep(10000);  // the advert begins
    for (int i = 0; i < 14; ++i) {  // the mute click retried, 300 ms apart
        DetectionTick(app, os);
        sim.Sleep(50);
    }
    ASSERT_GT(LogCount("Error:      Failed to set volume"), 1);
    LeaveSpotifyAsFound(app, os);
    sim.Sleep(3000);
    EXPECT_EQ(Knob(), 162);
    EXPECT_FALSE(HasRestoreRecord());
}

// The listener turned Spotify down to 0 % after the advert: an end leaves it.
TEST_F(Detection, AnEndAfterTheAdvertLeavesTheListenersSilence) {
    ToAdvert();
    Tick(5000);  // the advert ends, the volume is back
    ASSERT_EQ(Knob(), 162);
    SimClick(sim.player, spotify::kMuteClickX, app.spotifyHeight - spotify::kMuteClickUp,
             static_cast<std::int64_t>(sim.now));
    ASSERT_EQ(Knob(), 124);
    const size_t clicks = sim.clicks.size();
    LeaveSpotifyAsFound(app, os);
    EXPECT_EQ(Knob(), 124);
    EXPECT_EQ(sim.clicks.size(), clicks);
}

TEST_F(Detection, AnEndDuringTheRestoreStillGivesTheVolumeBack) {
    ToAdvert();
    sim.Sleep(5000);  // the advert ends
    int reads = 0, knobAsTheProcessEnds = -1;
    std::function<void()> leave = [&] {
        if (++reads < 3) {
            sim.whileReading = leave;  // the title, the verdict, then (420 ms on) the restore's scan
            return;
        }
        LeaveSpotifyAsFound(app, os);
        knobAsTheProcessEnds = Knob();  // an end such as log-off ends the process here
    };
    sim.whileReading = leave;
    Tick(0);
    EXPECT_EQ(knobAsTheProcessEnds, 162);
    EXPECT_EQ(Knob(), 162);
    EXPECT_FALSE(app.advertBlocked);
    EXPECT_FALSE(HasRestoreRecord());
}

// The listener raises the volume during an advert (or the client puts it
// back): silenced again, and the level seen is the one the music comes back at.
TEST_F(Detection, AVolumeSetDuringAnAdvertIsTheOneTheMusicComesBackAt) {
    ToAdvert();
    sim.player.knobLeft = 147;  // about 30 %
    Tick();
    EXPECT_EQ(Knob(), 124);
    EXPECT_EQ(RestoreRecord(), "147");
    Tick(5000);
    EXPECT_EQ(Knob(), 147);
}

TEST_F(Detection, SpotifysCloseGivesTheVolumeBackBeforeItsProcessEnds) {
    ToAdvert();
    sim.windows[sim.spotify].process = 16;
    CloseSpotify(app, os);
    FinishSequence(app, os);
    EXPECT_EQ(Knob(), 162);  // what the client keeps for its next start
    EXPECT_FALSE(HasRestoreRecord());
    EXPECT_EQ(sim.terminated, std::vector<std::uint32_t>{16});
}

TEST_F(Detection, ASilencedAdvertPlaysOnUntouchedWhileItsKnobStaysAtZero) {
    ToAdvert();
    const double start = sim.player.positionMs;
    for (int i = 0; i < 40; ++i) Tick();
    EXPECT_EQ(Knob(), 124);
    EXPECT_TRUE(sim.player.playing);
    EXPECT_GE(sim.player.positionMs - start, 40 * 50.0);  // never paused on the way
    EXPECT_EQ(LogCount("Error:      Spotify's volume came back during an advert"), 0);
}

// Minimised just as its new title was read: the capture that follows shows
// whatever is on the screen there, which must not end the advert.
TEST_F(Detection, AWindowMinimisedAsTheTitleIsReadIsNotJudgedBySettling) {
    ToAdvert();
    ASSERT_TRUE(app.advertBlocked);
    sim.whileReading = [this] {
        sim.windows[sim.spotify].iconic = true;
        sim.captureShowsDesktop = true;
    };
    Tick();
    EXPECT_TRUE(app.advertBlocked);
    EXPECT_EQ(Knob(), 124);
}

TEST_F(Detection, ClearingMuteAdvertsMakesTheAdvertNewAgain) {
    ToAdvert();
    app.muteAdverts = false;
    app.previousTitle = "xyz";
    TheDebugLog().logBacklog.clear();
    Tick();
    EXPECT_EQ(app.advertsBlocked, 2);
    EXPECT_EQ(Log(), "Blocking:   Brand \xE2\x80\x93 Ad\nBlocked: Brand \xE2\x80\x93 Ad\n");
}

}  // namespace
