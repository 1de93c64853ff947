#include "app/hotkey_commands.h"

#include "blocking/advert_classifier.h"
#include "blocking/mute_control.h"
#include "client/star_and_lyrics.h"
#include "client/transport.h"
#include "install/self_install.h"
#include "music/filler_player.h"
#include "settings/hotkeys.h"

namespace {

constexpr int kFillerVolumeStep = 5;

void FillerVolumeStep(ApplicationState& app, Platform& os, int step) {
    ShowVolume(app, os.filler, os.controls, os.controls.VolumeSliderPosition() + step);
}

void ToggleHotkeys(ApplicationState& app, Platform& os) {
    app.hotkeysEnabled = !app.hotkeysEnabled;
    if (app.hotkeysEnabled) RegisterAllHotkeys(app, os);
    else UnregisterAllHotkeys(app, os);
    os.controls.SetHotkeysBox(app.hotkeysEnabled);
}

void Next(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) NextTrack(app, os);
    else if (IsAdvertPlaying(app, os.screen)) {
        app.previousMp3 = app.currentMp3;
        PlayMp3(app, os.filler, os.controls, true);
    } else {
        PlayPause(app, os);
    }
}

void Previous(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) {
        PreviousTrack(app, os);
        return;
    }
    if (!app.previousMp3.empty()) ReplayFillerFile(os.filler, os.controls, app.previousMp3);
}

}  // namespace

void DispatchHotkey(ApplicationState& app, Platform& os, int id) {
    switch (id) {
    case kHotkeysOnOff: ToggleHotkeys(app, os); break;
    case kHotkeyNext: Next(app, os); break;
    case kHotkeyPlay: PlayPause(app, os); break;
    case kHotkeyPrevious: Previous(app, os); break;
    case kHotkeyRepeat: ToggleRepeat(app, os); break;
    case kHotkeyShuffle: ToggleShuffle(app, os); break;
    case kHotkeyStar: StarTrack(app, os); break;
    case kHotkeyVolumeDown:
        if (app.fillerPlaying) FillerVolumeStep(app, os, -kFillerVolumeStep);
        else VolumeDown(app, os);
        break;
    case kHotkeyVolumeUp:
        if (app.fillerPlaying) FillerVolumeStep(app, os, kFillerVolumeStep);
        else VolumeUp(app, os);
        break;
    case kInstallHotkeyId: InstallOrUpdate(app, os, os.installer); break;
    default: break;
    }
}
