#include "blocking/detection_loop.h"

#include <cstdio>

#include "base/health.h"
#include "base/log.h"
#include "blocking/advert_classifier.h"
#include "blocking/mute_control.h"
#include "blocking/screen_probes.h"
#include "blocking/spotify_sequence.h"
#include "client/client_process.h"
#include "client/spotify_contract.h"
#include "client/transport.h"
#include "client/window_parking.h"
#include "music/filler_player.h"

namespace {

constexpr int kPauseRetries = 10;
// Ticks (50 ms each) in which a new title is judged again.
constexpr int kSettleTicks = 6;
// Ticks between looks at Spotify's window while nothing goes on: 1.5 s.
constexpr int kTicksBetweenWindowLooks = 30;

void ShowBlockedLabel(ApplicationState& app, Platform& os) {
    app.displayTitle = "Blocked: " + TrackText(app.displayTitle);
    os.controls.SetStatusLabel(app.displayTitle);
}

void ShowTrackLabel(ApplicationState& app, Platform& os) {
    app.displayTitle = DisplayText(TrackText(app.displayTitle));
    os.controls.SetStatusLabel(app.displayTitle);
}

// A further advert while already silenced.
void AnotherAdvert(ApplicationState& app, Platform& os) {
    LogLine("Blocking:   " + TrackText(app.currentTitle));
    CountAdvert(app, os);
    if (app.playMp3) return;
    ShowBlockedLabel(app, os);
    LogLine(app.displayTitle);
}

// Once the mute sequence is through: the filler or the label, and the count.
int AdvertSilencedStage(ApplicationState& app, Platform& os) {
    // The knob could not be seen, or the program is leaving.
    if (!app.advertBlocked || app.leaving) return kNextStage;
    if (app.playMp3) PlayMp3(app, os.filler, os.controls, true);
    else ShowBlockedLabel(app, os);
    CountAdvert(app, os);
    return kNextStage;
}

// knob: found on the capture the advert was judged by, so the mute that
// follows at once takes no second capture (each is time the advert is heard).
void AdvertStarted(ApplicationState& app, Platform& os, int knob) {
    app.knobAtVerdict = knob;
    SetBlocked(app, os, true);
    QueueStages(app, {AdvertSilencedStage});
}

// Spotify must stay paused while the filler track finishes: clicked again up
// to ten times, a second apart.
int KeepPausedForFillerStage(ApplicationState& app, Platform& os) {
    if (app.sequenceTries == kPauseRetries || !IsSpotifyPlaying(app, os.screen) || app.leaving) return kNextStage;
    PlayPause(app, os);
    LogLine("Error:      Failed to pause Spotify. (2)");
    ++app.sequenceTries;
    return 1000;
}

int ShowTrackLabelStage(ApplicationState& app, Platform& os) {
    ShowTrackLabel(app, os);
    return kNextStage;
}

// The volume comes back 420 ms after the new title. Spotify plays music again
// while the filler still plays: Spotify is paused, the filler track finishes
// first. The stages queued here run next: this is the sequence's last.
int EndAdvertStage(ApplicationState& app, Platform& os) {
    if (!PauseIsOver(app)) return 420;
    if (os.filler.IsStillPlaying() && app.fillerPlaying) {
        PlayPause(app, os);
        SetBlocked(app, os, false);
        QueueStages(app, {KeepPausedForFillerStage});
        return kNextStage;
    }
    SetBlocked(app, os, false);
    QueueStages(app, {ShowTrackLabelStage});
    return kNextStage;
}

void AdvertEnded(ApplicationState& app, Platform&) {
    LogLine("Checked:    " + TrackText(app.currentTitle));
    QueueStages(app, {EndAdvertStage});
}

void TrackChanged(ApplicationState& app, Platform& os) {
    LogLine("Checked:    " + TrackText(app.currentTitle));
    ShowTrackLabel(app, os);
    RestoreAtTitleChange(app, os);
    if (app.fillerPlaying && os.filler.IsStillPlaying()) PlayMp3(app, os.filler, os.controls, false);
}

// While captures of Spotify's window fail, adverts cannot be told from music.
// A window that has gone (closed, logged out) is no such trouble, and ends it:
// it gives no title either.
void NoteWhetherReadable(ApplicationState& app, Platform& os, const WindowCapture& capture) {
    if (capture.PixelAt(spotify::kProbeAX, app.spotifyHeight - spotify::kProbeAUp) != kNoColour) {
        ClearTrouble(app, os, Trouble::WindowUnreadable);
        return;
    }
    if (app.currentTitle.empty() || !os.desktop.IsWindow(app.spotifyWindow)) {
        ClearTrouble(app, os, Trouble::WindowUnreadable);
        return;
    }
    ReportTrouble(app, os, Trouble::WindowUnreadable,
                  "Spotify's window cannot be read, so adverts cannot be told from music. Restore Spotify's window "
                  "from the taskbar and leave it open; it may be behind other windows.");
}

void NewTitle(ApplicationState& app, Platform& os) {
    os.controls.SetPlayCaption("Pause");
    app.previousTitle = app.currentTitle;
    app.settleTicks = kSettleTicks;
    const auto capture = CaptureSpotify(app, os.screen);
    NoteWhetherReadable(app, os, *capture);
    if (IsAdvertInCapture(app, *capture)) {
        if (app.advertBlocked) AnotherAdvert(app, os);
        else if (app.muteAdverts) AdvertStarted(app, os, LocateVolumeKnobIn(app, *capture));
        return;
    }
    if (app.advertBlocked) AdvertEnded(app, os);
    else TrackChanged(app, os);
}

void SpotifyPaused(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) os.controls.SetPlayCaption("Play");
    app.previousTitle.clear();
    if (!app.fillerPlaying) os.controls.SetStatusLabel(kIdleStatusText);
    if (app.advertBlocked) SetBlocked(app, os, false);
}

void FillerFinished(ApplicationState& app, Platform& os) {
    if (app.advertBlocked) {
        PlayMp3(app, os.filler, os.controls, true);
        return;
    }
    LogLine("MP3:        Stopped.");
    if (ProbePixel(app, os.screen, spotify::kProbeAX, app.spotifyHeight - spotify::kProbeAUp) != spotify::kProbeAGrey)
        PlayPause(app, os);
    app.fillerPlaying = false;
}

// Spotify's window is not on the screen to be read (minimised or parked): what
// a capture shows there is not Spotify, and an advert must not be taken for
// over because of it.
bool OutOfSight(const ApplicationState& app, Platform& os) {
    const bool parked = app.parkedWindow == app.spotifyWindow && (app.spotifyParked || app.spotifyReparented);
    return parked || os.desktop.IsIconic(app.spotifyWindow);
}

// Spotify may retitle before it repaints its player bar: shortly after a new
// title the pixels are read again, and an advert seen late is silenced (or a
// song taken for an advert gets its volume back).
void Settle(ApplicationState& app, Platform& os) {
    --app.settleTicks;
    if (app.currentTitle == spotify::kIdleTitle || OutOfSight(app, os)) return;
    const auto capture = CaptureSpotify(app, os.screen);
    // A capture that failed says nothing either way.
    if (capture->PixelAt(spotify::kProbeAX, app.spotifyHeight - spotify::kProbeAUp) == kNoColour) return;
    const bool advert = IsAdvertInCapture(app, *capture);
    if (advert && !app.advertBlocked && app.muteAdverts) {
        app.settleTicks = 0;
        AdvertStarted(app, os, LocateVolumeKnobIn(app, *capture));
    } else if (!advert && app.advertBlocked) {
        app.settleTicks = 0;
        AdvertEnded(app, os);
    }
}

void Steady(ApplicationState& app, Platform& os) {
    if (app.currentTitle == spotify::kIdleTitle && !app.previousTitle.empty()) {
        SpotifyPaused(app, os);
        return;
    }
    if (app.settleTicks > 0) Settle(app, os);
    KeepAdvertSilent(app, os);
    if (!app.fillerPlaying || os.filler.IsStillPlaying()) return;
    FillerFinished(app, os);
}

void LookAtSpotify(ApplicationState& app, Platform& os) {
    app.ticksSinceWindowLook = 0;
    KeepSpotifyCapturable(app, os);
}

// An idle tick asks Spotify's window one thing, its title (each question is a
// call into the system). Its state, place and size are looked at on every
// tick while an advert, a settling title or a restore needs captures, at a
// new title, and every 1.5 s otherwise; a parked window is watched every
// tick for the user's activating it. Returns whether it was looked at.
bool LookAtSpotifyIfDue(ApplicationState& app, Platform& os) {
    const bool busy = app.advertBlocked || app.settleTicks > 0 || app.volumeRestorePending;
    if (busy || ++app.ticksSinceWindowLook >= kTicksBetweenWindowLooks) {
        LookAtSpotify(app, os);
        return true;
    }
    WatchParkedSpotify(app, os);
    return false;
}

void ReadTitle(ApplicationState& app, Platform& os, bool looked) {
    app.titleBuffer[0] = '\0';
    os.screen.ReadTitle(app.spotifyWindow, app.titleBuffer, sizeof app.titleBuffer);
    app.titleBuffer[sizeof app.titleBuffer - 1] = '\0';
    app.currentTitle = app.titleBuffer;
    app.displayTitle = app.currentTitle;
    if (app.currentTitle == app.previousTitle || app.currentTitle == spotify::kIdleTitle) {
        Steady(app, os);
        return;
    }
    // A window minimised or moved since the last look is handled before the
    // new title is judged.
    if (!looked) LookAtSpotify(app, os);
    NewTitle(app, os);
}

}  // namespace

void CountAdvert(ApplicationState& app, Platform& os) {
    ++app.advertsBlocked;
    char text[64];
    std::snprintf(text, sizeof text, "Adquelled: %d", app.advertsBlocked);
    os.controls.SetCounterLabel(text);
}

void DetectionTick(ApplicationState& app, Platform& os) {
    if (app.leaving) return;  // Spotify has been left as found
    // Found once it runs (the watcher finds its window); asked only while missing.
    if (TroubleHolds(app, Trouble::SpotifyMissing) && os.desktop.IsWindow(app.spotifyWindow))
        ClearTrouble(app, os, Trouble::SpotifyMissing);
    // While something is being done to Spotify, a new title waits for it.
    if (!SequenceRunning(app)) {
        const bool looked = LookAtSpotifyIfDue(app, os);
        RestoreVolumeIfPending(app, os);
        ReadTitle(app, os, looked);
    }
    ContinueSequence(app, os);
}

namespace {

// Once its volume is back: the client keeps it for its next start.
int KillSpotifyStage(ApplicationState& app, Platform& os) {
    KillSpotify(app, os);
    return kNextStage;
}

}  // namespace

void LeaveSpotifyAsFound(ApplicationState& app, Platform& os) {
    // Once: an end may come while another is under way (a message taken while
    // a capture waits on Spotify).
    if (app.leaving) return;
    app.leaving = true;
    DropSequence(app);
    // The window first: back on the screen, its knob can be found to be
    // clicked back from 0 %.
    ReleaseSpotifyWindow(app, os);
    GiveVolumeBackBeforeLeaving(app, os);
}

void CloseSpotify(ApplicationState& app, Platform& os) {
    ReleaseSpotifyWindow(app, os);
    GiveVolumeBack(app, os);
    QueueStages(app, {KillSpotifyStage});
}

void ComeBackAfterCancelledEnd(ApplicationState& app) {
    // What was queued after the leave (a verdict that ended after an end
    // taken during its capture) is out of date: the title is judged anew.
    DropSequence(app);
    app.leaving = false;
    app.previousTitle.clear();  // an advert still playing is judged again
}
