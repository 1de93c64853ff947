#include "blocking/mute_control.h"

#include <cmath>
#include <cstdlib>

#include "base/log.h"
#include "blocking/advert_classifier.h"
#include "blocking/screen_probes.h"
#include "client/client_process.h"
#include "client/transport.h"
#include "music/filler_player.h"
#include "settings/ini_file.h"

namespace {

constexpr int kRetries = 10;
constexpr int kPendingRetryMs = 1000;
const char* const kRestoreKey = "Restore";
const char* const kOptionsSection = "Options";

// The knob to put back survives the program: should it end while Spotify is
// muted, the next start restores the volume.
void RememberRestore(ApplicationState& app) {
    CIniFile::SetValue(kRestoreKey, std::to_string(app.savedKnobX), kOptionsSection, app.optionsPath);
}

void ForgetRestore(ApplicationState& app) {
    app.volumeRestorePending = false;
    if (CIniFile::HasEntry(kRestoreKey, kOptionsSection, app.optionsPath))
        CIniFile::RemoveEntry(kRestoreKey, kOptionsSection, app.optionsPath);
}

void ClickMute(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, spotify::kMuteClickX, app.spotifyHeight - spotify::kMuteClickUp);
}

void ClickRestore(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, app.savedKnobX + 1, app.spotifyHeight - spotify::kMuteClickUp);
}

// Checks that the mute click landed, clicking again up to ten times.
void CheckSilenced(ApplicationState& app, Platform& os) {
    if (LocateVolumeKnob(app, os.screen) == spotify::kKnobMutedX) return;
    for (int i = 0; i < kRetries; ++i) {
        LogLine("Error:      Failed to set volume");
        os.clock.Sleep(300);
        ClickMute(app, os);
        if (LocateVolumeKnob(app, os.screen) == spotify::kKnobMutedX) return;
    }
}

// Spotify pauses an advert that reaches 0 %: make it play on, silently.
void ResumeSilently(ApplicationState& app, Platform& os) {
    PlayPause(app, os);
    os.clock.Sleep(250);
    int attempts = 0;
    while (!IsSpotifyPlaying(app, os.screen)) {
        if (attempts++ == kRetries) {
            LogLine("Error:      Spotify did not resume");
            break;
        }
        LogLine("Error:      Failed to resume");
        PlayPause(app, os);
        os.clock.Sleep(350);
    }
}

// After a mute click: checked (clicked again where it missed), then played on.
void SilenceAndPlayOn(ApplicationState& app, Platform& os) {
    CheckSilenced(app, os);
    ResumeSilently(app, os);
}

bool Mute(ApplicationState& app, Platform& os) {
    LogLine("Blocking:   " + TrackText(app.currentTitle));
    const int knob = LocateVolumeKnob(app, os.screen);
    // Without the knob there is no volume to come back to: better an audible
    // advert than a restore to a guessed (full) volume.
    if (!IsKnobPosition(knob)) {
        LogLine("Error:      Volume knob not found, advert not silenced");
        return false;
    }
    // A restore still pending knows the listener's volume; the knob may be
    // standing at 0 % from the advert before.
    if (!app.volumeRestorePending) app.savedKnobX = knob;
    app.volumeRestorePending = false;
    ClickMute(app, os);
    // The listener's volume, when not 0 %, is the level the filler plays at.
    if (app.savedKnobX != spotify::kKnobMutedX) ShowVolume(app, os.filler, os.controls, KnobVolume(app.savedKnobX));
    // Written after the click, so no disk time delays the silence.
    RememberRestore(app);
    SilenceAndPlayOn(app, os);
    LogLine("Blocked:    " + TrackText(app.currentTitle));
    return true;
}

// Clicks the knob back and re-scans; true once it stands where it was. Stops
// at once when Spotify's window has gone.
bool ClickBackAndVerify(ApplicationState& app, Platform& os, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (!os.desktop.IsWindow(app.spotifyWindow)) return false;
        if (i > 0) LogLine("Error:      Failed to set volume, retrying.");
        ClickRestore(app, os);
        os.clock.Sleep(i == 0 ? 50 : 750);
        if (LocateVolumeKnob(app, os.screen) == app.savedKnobX) return true;
    }
    return false;
}

void KeepRestorePending(ApplicationState& app, Platform& os) {
    if (!app.volumeRestorePending) LogLine("Error:      Volume not restored yet, retrying once Spotify's window is back");
    app.volumeRestorePending = true;
    app.nextRestoreTryMs = os.clock.NowMs() + kPendingRetryMs;
}

void Restore(ApplicationState& app, Platform& os) {
    if (ClickBackAndVerify(app, os, kRetries + 1)) ForgetRestore(app);
    else KeepRestorePending(app, os);
}

}  // namespace

bool IsKnobPosition(int knobX) {
    return knobX >= spotify::kKnobScanFirstX && knobX <= spotify::kKnobScanLastX;
}

void SetBlocked(ApplicationState& app, Platform& os, bool on) {
    if (on) {
        app.advertBlocked = Mute(app, os);
        return;
    }
    Restore(app, os);
    app.advertBlocked = false;
}

void KeepAdvertSilent(ApplicationState& app, Platform& os) {
    if (!app.advertBlocked) return;
    const int knob = LocateVolumeKnob(app, os.screen);
    if (!IsKnobPosition(knob) || knob == spotify::kKnobMutedX) return;
    LogLine("Error:      Spotify's volume came back during an advert");
    ClickMute(app, os);
    SilenceAndPlayOn(app, os);
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

void LoadPendingRestore(ApplicationState& app) {
    if (!CIniFile::HasEntry(kRestoreKey, kOptionsSection, app.optionsPath)) return;
    const std::string saved = CIniFile::GetValue(kRestoreKey, kOptionsSection, app.optionsPath);
    char* end = nullptr;
    const long knob = std::strtol(saved.c_str(), &end, 10);
    // Only a knob position the slider can have; anything else is forgotten.
    if (saved.empty() || *end != '\0' || knob < spotify::kKnobScanFirstX || knob > spotify::kKnobScanLastX) {
        ForgetRestore(app);
        return;
    }
    app.savedKnobX = static_cast<int>(knob);
    app.volumeRestorePending = true;
    app.nextRestoreTryMs = 0;
}

bool RestoreVolumeIfPending(ApplicationState& app, Platform& os) {
    if (!app.volumeRestorePending) return true;
    if (os.clock.NowMs() < app.nextRestoreTryMs) return false;  // at most once a second
    // Only into a logged-in main window: a splash or login window has no slider.
    if (!app.spotifyWindow || !os.desktop.IsWindow(app.spotifyWindow) || !MeasureSpotify(app, os) ||
        !LoggedInSize(app))
        return false;
    // An advert playing now is silenced already: it ends as any silenced advert.
    if (IsSpotifyPlaying(app, os.screen) && IsAdvertOnScreen(app, os.screen, app.probeTitleBuffer)) {
        LogLine("Spotify:    An advert plays; its volume comes back when it ends");
        app.volumeRestorePending = false;
        app.advertBlocked = true;
        return true;
    }
    if (app.nextRestoreTryMs == 0) LogLine("Spotify:    Restoring the volume from before the last exit");
    if (ClickBackAndVerify(app, os, 1)) {
        ForgetRestore(app);
        return true;
    }
    app.nextRestoreTryMs = os.clock.NowMs() + kPendingRetryMs;
    return false;
}
