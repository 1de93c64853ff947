#include "blocking/mute_control.h"

#include <cmath>
#include <cstdlib>

#include "app/log.h"
#include "blocking/advert_classifier.h"
#include "blocking/screen_probes.h"
#include "client/transport.h"
#include "settings/ini_file.h"

namespace {

constexpr int kRetries = 10;
const char* const kRestoreKey = "Restore";
const char* const kOptionsSection = "Options";

// The knob to put back survives the program: should it end while Spotify is
// muted, the next start restores the volume.
void RememberRestore(ApplicationState& app) {
    CIniFile::SetValue(kRestoreKey, std::to_string(app.savedKnobX), kOptionsSection, app.optionsPath);
}

void ForgetRestore(ApplicationState& app) {
    if (CIniFile::HasEntry(kRestoreKey, kOptionsSection, app.optionsPath))
        CIniFile::RemoveEntry(kRestoreKey, kOptionsSection, app.optionsPath);
}

void ClickMute(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, spotify::kMuteClickX, app.spotifyHeight - spotify::kMuteClickUp);
}

void ClickRestore(ApplicationState& app, Platform& os) {
    ClickSpotify(app, os, app.savedKnobX + 1, app.spotifyHeight - spotify::kMuteClickUp);
}

void Mute(ApplicationState& app, Platform& os) {
    LogLine("Blocking:   " + TrackText(app.currentTitle));
    app.savedKnobX = LocateVolumeKnob(app, os.screen);
    RememberRestore(app);
    ClickMute(app, os);
    if (LocateVolumeKnob(app, os.screen) != spotify::kKnobMutedX) {
        for (int i = 0; i < kRetries; ++i) {
            LogLine("Error:      Failed to set volume");
            os.clock.Sleep(300);
            ClickMute(app, os);
            if (LocateVolumeKnob(app, os.screen) == spotify::kKnobMutedX) break;
        }
    }
    // Spotify pauses an advert that reaches 0 %: make it play on, silently.
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
    LogLine("Blocked:    " + TrackText(app.currentTitle));
}

void Restore(ApplicationState& app, Platform& os) {
    ClickRestore(app, os);
    os.clock.Sleep(50);
    for (int i = 0; i < kRetries; ++i) {
        if (LocateVolumeKnob(app, os.screen) == app.savedKnobX) break;
        LogLine("Error:      Failed to set volume, retrying.");
        ClickRestore(app, os);
        os.clock.Sleep(750);
    }
    ForgetRestore(app);
}

}  // namespace

void ClickSpotify(ApplicationState& app, Platform& os, int x, int y) {
    const std::intptr_t point =
        static_cast<std::intptr_t>((static_cast<unsigned>(x) & 0xFFFFu) | ((static_cast<unsigned>(y) & 0xFFFFu) << 16));
    os.desktop.Post(app.spotifyWindow, win::kWmLButtonDown, win::kMkLButton, point);
    os.clock.Sleep(15);
    os.desktop.Post(app.spotifyWindow, win::kWmLButtonUp, 0, point);
    os.clock.Sleep(10);
}

void SetBlocked(ApplicationState& app, Platform& os, bool on) {
    if (on) Mute(app, os);
    else Restore(app, os);
    app.advertBlocked = on;
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
    const VolumeStep step = ComputeVolumeStep(LocateVolumeKnob(app, os.screen), change);
    os.controls.SetVolumeSliderPosition(step.sliderPosition);
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

bool RestoreVolumeIfPending(ApplicationState& app, Platform& os) {
    if (!app.volumeRestorePending) return true;
    if (!app.spotifyWindow || !os.desktop.IsWindow(app.spotifyWindow)) return false;
    const std::string saved = CIniFile::GetValue(kRestoreKey, kOptionsSection, app.optionsPath);
    app.volumeRestorePending = false;
    char* end = nullptr;
    const long knob = std::strtol(saved.c_str(), &end, 10);
    // Only a knob position the slider can have; anything else is forgotten.
    if (saved.empty() || *end != '\0' || knob < spotify::kKnobScanFirstX || knob > spotify::kKnobNotFoundX) {
        ForgetRestore(app);
        return true;
    }
    app.savedKnobX = static_cast<int>(knob);
    LogLine("Spotify:    Restoring the volume from before the last exit");
    SetBlocked(app, os, false);
    return true;
}
