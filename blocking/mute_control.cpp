#include "blocking/mute_control.h"

#include <cmath>
#include <cstdlib>

#include "base/health.h"
#include "base/log.h"
#include "blocking/advert_classifier.h"
#include "blocking/screen_probes.h"
#include "blocking/spotify_sequence.h"
#include "client/client_process.h"
#include "client/spotify_contract.h"
#include "client/transport.h"
#include "music/filler_player.h"
#include "settings/ini_file.h"
#include "settings/options.h"

namespace {

constexpr int kRetries = 10;
constexpr int kPendingRetryMs = 1000;
constexpr int kLeaveScanMs = 1500;      // a window unparked at an end to be drawn
constexpr int kLeaveClicks = 4;         // with the above, an end waits at most about 4 s
constexpr int kNotReadyRetryMs = 250;   // no logged-in window or player bar yet
constexpr int kUnseenScansBeforeTelling = 10;
const char* const kRestoreValue = "Restore";

// The knob to put back survives the program: should it end while Spotify is
// muted, the next start (from any folder) restores the volume.
void RememberRestore(ApplicationState& app, Platform& os) {
    if (!os.installer.WriteUserText(kProgramUserKey, kRestoreValue, std::to_string(app.savedKnobX)))
        LogLine("Error:      Could not keep the volume to restore for the next start");
}

void ForgetRestore(ApplicationState& app, Platform& os) {
    app.volumeRestorePending = false;
    app.restoreLeftToListener = false;
    app.unseenRestoreScans = 0;
    app.restoreTriedWindow = nullptr;
    os.installer.DeleteUserValue(kProgramUserKey, kRestoreValue);
    ClearTrouble(app, os, Trouble::RestoreUnverified);
}

void ClickMute(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, spotify::kMuteClickX, app.spotifyHeight - spotify::kMuteClickUp);
    app.muteClickUnseen = true;
    app.playOnOwed = true;  // the client pauses an advert at 0 %
}

void ClickRestore(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, app.savedKnobX + 1, app.spotifyHeight - spotify::kMuteClickUp);
}

// The stages of a mute. A leave that comes while one of them reads Spotify (a
// message taken while a capture waits) ends them; one that comes between
// ticks drops them.

// The knob is saved and clicked to 0 %.
int MuteStage(ApplicationState& app, Platform& os) {
    LogLine("Blocking:   " + TrackText(app.currentTitle));
    const int knob = app.knobAtVerdict != kNoKnobAtVerdict ? app.knobAtVerdict : LocateVolumeKnob(app, os.screen);
    app.knobAtVerdict = kNoKnobAtVerdict;
    // Without the knob there is no volume to come back to: better an audible
    // advert than a restore to a guessed (full) volume.
    if (IsKnobPosition(knob)) {
        ClearTrouble(app, os, Trouble::KnobUnseen);
    } else {
        LogLine("Error:      Volume knob not found, advert not silenced");
        ReportTrouble(app, os, Trouble::KnobUnseen,
                      "Adverts are not silenced: Spotify's volume slider cannot be seen. Make Spotify's window larger "
                      "so that its volume slider shows.");
    }
    if (!IsKnobPosition(knob) || app.leaving) {  // or an end came while the knob was read
        EndSequence(app);
        return kNextStage;
    }
    // Only a knob off 0 % is the listener's volume. At 0 % a restore still
    // owed keeps its record; without one the listener has chosen silence.
    const bool owed = app.volumeRestorePending;
    if (knob != spotify::kKnobMutedX || !owed) app.savedKnobX = knob;
    ClickMute(app, os);
    // Silenced from the moment the click is sent: an end from here on gives
    // the volume back.
    app.advertBlocked = true;
    app.volumeRestorePending = false;
    app.restoreLeftToListener = false;
    app.unseenRestoreScans = 0;
    if (app.savedKnobX != spotify::kKnobMutedX) {
        // Written after the click, so no time passes before the silence.
        RememberRestore(app, os);
        // The listener's volume is the level the filler plays at.
        ShowVolume(app, os.filler, os.controls, KnobVolume(app.savedKnobX));
    }
    return kNextStage;
}

// Checks that the mute click landed, clicking again up to ten times, 300 ms
// apart.
int CheckSilencedStage(ApplicationState& app, Platform& os) {
    if (app.sequenceTries > 0) ClickMute(app, os);
    if (LocateVolumeKnob(app, os.screen) == spotify::kKnobMutedX) app.muteClickUnseen = false;
    if (!app.muteClickUnseen || app.leaving || app.sequenceTries == kRetries) return kNextStage;
    LogLine("Error:      Failed to set volume");
    ++app.sequenceTries;
    return 300;
}

// Spotify pauses an advert that reaches 0 %: made to play on, silently.
int PlayOnStage(ApplicationState& app, Platform& os) {
    if (PauseIsOver(app) || app.leaving) return kNextStage;
    PlayPause(app, os);
    return 250;
}

// The leave is looked for after the read, where it may have come.
int CheckPlayingStage(ApplicationState& app, Platform& os) {
    if (IsSpotifyPlaying(app, os.screen)) app.playOnOwed = false;
    if (!app.playOnOwed || app.leaving) return kNextStage;
    if (app.sequenceTries++ == kRetries) {
        LogLine("Error:      Spotify did not resume");
        app.playOnOwed = false;
        return kNextStage;
    }
    LogLine("Error:      Failed to resume");
    PlayPause(app, os);
    return 350;
}

int BlockedStage(ApplicationState& app, Platform&) {
    if (!app.leaving) LogLine("Blocked:    " + TrackText(app.currentTitle));
    return kNextStage;
}

// Where the knob stands against the volume owed.
enum class KnobPlace { Restored, AtZero, Unseen, Elsewhere, WindowGone };

KnobPlace FindKnobToRestore(ApplicationState& app, Platform& os) {
    if (!os.desktop.IsWindow(app.spotifyWindow)) return KnobPlace::WindowGone;
    const int knob = LocateVolumeKnob(app, os.screen);
    if (knob == app.savedKnobX) return KnobPlace::Restored;
    if (knob == spotify::kKnobMutedX) return KnobPlace::AtZero;
    return IsKnobPosition(knob) ? KnobPlace::Elsewhere : KnobPlace::Unseen;
}

// Said once, with what it waits for: the window, a knob it can see, or only
// time (clicks that did not land).
void KeepRestorePending(ApplicationState& app, Platform& os, KnobPlace at) {
    if (!app.volumeRestorePending)
        LogLine(at == KnobPlace::Unseen       ? "Error:      Volume not restored yet, retrying once its slider can be seen"
                : at == KnobPlace::WindowGone ? "Error:      Volume not restored yet, retrying once Spotify's window is back"
                                              : "Error:      Volume not restored yet, retrying");
    app.volumeRestorePending = true;
    app.nextRestoreTryMs = os.clock.NowMs() + (at == KnobPlace::Unseen ? kNotReadyRetryMs : kPendingRetryMs);
    app.restoreTriedWindow = app.spotifyWindow;
}

// The listener has set a volume of their own since: it stays.
void LeaveVolumeToListener(ApplicationState& app, Platform& os) {
    LogLine("Spotify:    The volume was changed since it was silenced; left as it is");
    ForgetRestore(app, os);
}

// The knob stays out of sight: the listener is told once what to set.
void TellListenerToRestore(ApplicationState& app, Platform& os) {
    app.restoreLeftToListener = true;
    const std::string volume = std::to_string(KnobVolume(app.savedKnobX)) + " %";
    LogLine("Error:      Spotify's volume slider cannot be seen; set its volume to " + volume + " by hand");
    ReportTrouble(app, os, Trouble::RestoreUnverified,
                  "Please set Spotify's volume to " + volume + " by hand. Its volume slider cannot be seen, so the "
                  "volume it had before the advert could not be put back.");
}

// What a restore found: done, left to the listener, or still owed.
void SettleRestore(ApplicationState& app, Platform& os, KnobPlace at) {
    if (at == KnobPlace::Restored) ForgetRestore(app, os);
    else if (at == KnobPlace::Elsewhere) LeaveVolumeToListener(app, os);
    else KeepRestorePending(app, os, at);
}

// A pending scan counts towards telling the listener only when Spotify plays:
// a playing client has drawn its player bar, so a slow start is no failure.
void CountUnseenScan(ApplicationState& app, Platform& os) {
    if (!IsSpotifyPlaying(app, os.screen)) {
        app.nextRestoreTryMs = os.clock.NowMs() + kNotReadyRetryMs;
        return;
    }
    if (++app.unseenRestoreScans == kUnseenScansBeforeTelling) TellListenerToRestore(app, os);
}

// Clicks the knob back from 0 % and re-scans, at most restoreClicks times, 50
// then 750 ms after each click. The knob is found before every click: only a
// knob at 0 %, where the mute left it, is moved. Silenced until the restore
// has settled: an end that comes meanwhile still gives the volume back.
int RestoreStage(ApplicationState& app, Platform& os) {
    if (app.savedKnobX != spotify::kKnobMutedX) {
        const KnobPlace at = FindKnobToRestore(app, os);
        // An end taken during the scan has given the volume back itself (and
        // dropped this stage): the scan is out of date.
        if (EndTakenMeanwhile(app)) return kNextStage;
        if (at == KnobPlace::AtZero && app.sequenceTries < app.restoreClicks) {
            if (app.sequenceTries > 0) LogLine("Error:      Failed to set volume, retrying.");
            ClickRestore(app, os);
            return app.sequenceTries++ == 0 ? 50 : 750;
        }
        SettleRestore(app, os, at);
    }
    app.advertBlocked = false;
    return kNextStage;
}

void QueueRestore(ApplicationState& app, int clicks) {
    app.restoreClicks = clicks;
    QueueStages(app, {RestoreStage});
}

bool ReadyForRestore(ApplicationState& app, Platform& os) {
    return app.spotifyWindow && os.desktop.IsWindow(app.spotifyWindow) && MeasureSpotify(app, os) &&
           LoggedInSize(app);
}

}  // namespace

bool IsKnobPosition(int knobX) {
    return knobX >= spotify::kKnobScanFirstX && knobX <= spotify::kKnobScanLastX;
}

void SetBlocked(ApplicationState& app, Platform&, bool on) {
    if (on) QueueStages(app, {MuteStage, CheckSilencedStage, PlayOnStage, CheckPlayingStage, BlockedStage});
    else QueueRestore(app, kRetries + 1);
}

void GiveVolumeBack(ApplicationState& app, Platform&) {
    if (app.advertBlocked) QueueRestore(app, 1);
}

void GiveVolumeBackBeforeLeaving(ApplicationState& app, Platform& os) {
    if (!app.advertBlocked || !app.spotifyWindow) return;
    // A window just brought back from where it was parked is drawn a moment
    // later, and a slow client may not have acted on the mute click yet: the
    // knob is watched for a little while, so that it is neither taken for
    // unseen nor put back before the mute lands.
    const std::uint64_t until = os.clock.NowMs() + kLeaveScanMs;
    for (KnobPlace at; os.clock.NowMs() < until; os.clock.Sleep(100)) {
        at = FindKnobToRestore(app, os);
        if (at != KnobPlace::Unseen && !(at == KnobPlace::Restored && app.muteClickUnseen)) break;
    }
    // Whatever was under way has been dropped: this restore is all there is.
    QueueRestore(app, kLeaveClicks);
    FinishSequence(app, os);
    // Left before the mute sequence made it play on: the pause was ours too.
    if (app.playOnOwed && !IsSpotifyPlaying(app, os.screen)) PlayPause(app, os);
    app.playOnOwed = false;
}

void KeepAdvertSilent(ApplicationState& app, Platform& os) {
    if (!app.advertBlocked || app.leaving) return;
    const int knob = LocateVolumeKnob(app, os.screen);
    if (!IsKnobPosition(knob) || knob == spotify::kKnobMutedX || app.leaving) return;
    LogLine("Error:      Spotify's volume came back during an advert");
    // Whoever set it, it is the volume to come back to now.
    app.savedKnobX = knob;
    RememberRestore(app, os);
    ClickMute(app, os);
    QueueStages(app, {CheckSilencedStage, PlayOnStage, CheckPlayingStage});
}

VolumeStep ComputeVolumeStep(int knobX, float change) {
    const float v = KnobPercent(knobX) + change;
    const float w = v * 0.7599999904632568f;
    return {static_cast<int>(std::floor(v + 0.5f)), 125 + static_cast<int>(std::floor(w + 0.5f))};
}

int FollowClickX(int p) {
    const int t = static_cast<int>(p * -0.77);  // truncated toward zero
    return spotify::kFollowClickBaseX - t;
}

namespace {

void StepVolume(ApplicationState& app, Platform& os, float change) {
    const int knob = LocateVolumeKnob(app, os.screen);
    if (!IsKnobPosition(knob)) return;  // a step from an unknown volume could land anywhere
    const VolumeStep step = ComputeVolumeStep(knob, change);
    ShowVolume(app, os.filler, os.controls, step.sliderPosition);
    ClickSpotify(app, os, step.clickX, app.spotifyHeight - spotify::kStepClickUp);
}

}  // namespace

void VolumeUp(ApplicationState& app, Platform& os) {
    StepVolume(app, os, 10.0f);
}

void VolumeDown(ApplicationState& app, Platform& os) {
    StepVolume(app, os, -10.0f);
}

void SetSpotifyVolume(ApplicationState& app, Platform& os, int p) {
    ClickSpotify(app, os, FollowClickX(p), app.spotifyHeight - spotify::kFollowClickUp);
}

void LoadPendingRestore(ApplicationState& app, Platform& os) {
    std::string saved;
    if (!os.installer.ReadUserText(kProgramUserKey, kRestoreValue, saved)) {
        // An earlier version kept the record in Options.ini: taken over once,
        // and left there should it not be kept where it belongs now.
        if (!CIniFile::HasEntry(kRestoreValue, kOptionsSection, app.optionsPath)) return;
        saved = CIniFile::GetValue(kRestoreValue, kOptionsSection, app.optionsPath);
        if (os.installer.WriteUserText(kProgramUserKey, kRestoreValue, saved))
            CIniFile::RemoveEntry(kRestoreValue, kOptionsSection, app.optionsPath);
        else LogLine("Error:      Could not keep the volume to restore for the next start");
    }
    char* end = nullptr;
    const long knob = std::strtol(saved.c_str(), &end, 10);
    // Only a knob position the slider can have; anything else is forgotten.
    if (saved.empty() || *end != '\0' || knob < spotify::kKnobScanFirstX || knob > spotify::kKnobScanLastX) {
        ForgetRestore(app, os);
        return;
    }
    app.savedKnobX = static_cast<int>(knob);
    app.volumeRestorePending = true;
    app.nextRestoreTryMs = 0;
    app.restoreTriedWindow = nullptr;
}

bool RestoreVolumeIfPending(ApplicationState& app, Platform& os) {
    if (!app.volumeRestorePending) return true;
    if (app.restoreLeftToListener) return false;  // scanned at title changes only
    // A window not tried yet (Spotify started again) is tried at once.
    if (os.clock.NowMs() < app.nextRestoreTryMs && app.spotifyWindow == app.restoreTriedWindow) return false;
    // Only into a logged-in main window: a splash or login window has no slider.
    if (!ReadyForRestore(app, os)) return false;
    const bool fromLastExit = app.nextRestoreTryMs == 0;
    app.restoreTriedWindow = app.spotifyWindow;
    app.nextRestoreTryMs = os.clock.NowMs() + kPendingRetryMs;
    const KnobPlace at = FindKnobToRestore(app, os);
    if (at == KnobPlace::Unseen) {
        CountUnseenScan(app, os);
        return false;
    }
    // An advert playing now with the knob at 0 % is silenced already (when
    // adverts are to be silenced at all): it ends as any silenced advert.
    if (at == KnobPlace::AtZero && app.muteAdverts && IsSpotifyPlaying(app, os.screen) &&
        IsAdvertOnScreen(app, os.screen, app.probeTitleBuffer)) {
        LogLine("Spotify:    An advert plays; its volume comes back when it ends");
        app.volumeRestorePending = false;
        app.advertBlocked = true;
        return true;
    }
    if (at == KnobPlace::AtZero && fromLastExit) LogLine("Spotify:    Restoring the volume from before the last exit");
    if (at == KnobPlace::AtZero) QueueRestore(app, 1);
    else SettleRestore(app, os, at);
    return !app.volumeRestorePending;
}

void RestoreAtTitleChange(ApplicationState& app, Platform&) {
    if (app.volumeRestorePending && app.restoreLeftToListener) QueueRestore(app, 1);
}
