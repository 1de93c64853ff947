#include "app/main_commands.h"

#include "base/health.h"
#include "base/log.h"
#include "blocking/advert_classifier.h"
#include "blocking/mute_control.h"
#include "client/transport.h"
#include "client/window_parking.h"
#include "music/filler_player.h"
#include "settings/hotkeys.h"
#include "settings/options.h"

namespace {

void PlayFillerFile(Platform& os, const std::wstring& path) {
    if (ReplayFillerFile(os.filler, os.controls, path)) os.controls.SetStatusLabel(Mp3Label(path));
}

void ShowIdleUnlessPlaying(ApplicationState& app, Platform& os) {
    if (!IsSpotifyPlaying(app, os.screen)) os.controls.SetStatusLabel(kIdleStatusText);
}

void TurnPlayMp3On(ApplicationState& app, Platform& os) {
    SavePlayMp3(app, true);
    if (app.muteAdverts && app.advertBlocked) PlayMp3(app, os.filler, os.controls, true);
}

}  // namespace

void OnMuteAdvertsBox(ApplicationState& app, Platform& os, bool checked) {
    SaveMuteAdverts(app, checked);
    if (!checked) ClearTrouble(app, os, Trouble::KnobUnseen);  // adverts are not to be silenced now
    if (checked) return;
    // The listener chose to hear adverts: a silence under way ends now.
    if (app.advertBlocked) {
        if (app.fillerPlaying) PlayMp3(app, os.filler, os.controls, false);
        GiveVolumeBack(app, os);
    }
    app.previousTitle = "xyz";  // the next tick takes the title as new
    ShowIdleUnlessPlaying(app, os);
}

bool OnPlayMp3Box(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs, bool checked,
                  Mp3FolderReading& toRead) {
    if (checked) {
        if (app.mp3Folder.empty()) {
            toRead = ChooseMp3Folder(app, dialogs);
            return !toRead.folder.empty();
        }
        TurnPlayMp3On(app, os);
        return true;
    }
    SavePlayMp3(app, false);
    if (app.fillerPlaying) PlayMp3(app, os.filler, os.controls, false);
    if (app.advertBlocked) os.controls.SetStatusLabel("Blocked: " + TrackText(app.currentTitle));
    else ShowIdleUnlessPlaying(app, os);
    return false;
}

Mp3FolderReading OnMp3FolderRead(ApplicationState& app, Platform& os, Mp3FolderDialogs& dialogs,
                                 Mp3FolderReading& reading) {
    Mp3FolderReading next = TakeMp3FolderReading(app, dialogs, reading);
    // The box is ticked but not yet on only while it waits for a folder.
    if (!next.folder.empty() || !os.controls.PlayBoxChecked() || app.playMp3) return next;
    if (app.mp3Folder.empty()) os.controls.SetPlayBox(false);
    else TurnPlayMp3On(app, os);
    return next;
}

void OnHotkeysBox(ApplicationState& app, Platform& os, bool checked) {
    SaveHotkeysOption(app, checked);
    if (checked) RegisterAllHotkeys(app, os);
    else UnregisterAllHotkeys(app, os);
}

void OnNextButton(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) {
        NextTrack(app, os);
        return;
    }
    if (!IsAdvertPlaying(app, os.screen)) {
        PlayPause(app, os);
        return;
    }
    if (app.replayingPrevious) {
        app.replayingPrevious = false;
        PlayFillerFile(os, app.currentMp3);
        return;
    }
    app.previousMp3 = app.currentMp3;
    PlayMp3(app, os.filler, os.controls, true);
}

void OnPreviousButton(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) {
        PreviousTrack(app, os);
        return;
    }
    if (app.previousMp3.empty()) return;  // nothing to go back to
    app.replayingPrevious = true;
    PlayFillerFile(os, app.previousMp3);
}

void OnPlayButton(ApplicationState& app, Platform& os) {
    if (!app.fillerPlaying) {
        PlayPause(app, os);
        LogLine(IsSpotifyPlaying(app, os.screen) ? "Spotify:    Play" : "Spotify:    Pause");
        return;
    }
    if (app.fillerPaused) {
        os.filler.Run();
        os.controls.SetPlayCaption("Pause");
    } else {
        os.filler.Pause();
        os.controls.SetPlayCaption("Play");
    }
    app.fillerPaused = !app.fillerPaused;
}

void OnVolumeSlider(ApplicationState& app, Platform& os, int position) {
    // A click on the thumb reports the position it already had: nothing moved.
    if (position == app.volumeSlider) return;
    app.volumeSlider = position;
    if (app.fillerPlaying) os.filler.SetVolume(FillerVolumeFromSlider(position));
    else SetSpotifyVolume(app, os, position);
}
