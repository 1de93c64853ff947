#include "client/window_parking.h"

#include "client/client_process.h"
#include "music/filler_player.h"

namespace {

void Park(ApplicationState& app, Platform& os, bool minimised) {
    Desktop& d = os.desktop;
    WindowHandle spotify = app.spotifyWindow;
    app.previousForeground = d.Foreground();
    MakeSpotifyTransparent(app, os);
    d.Show(spotify, win::kSwRestore);
    d.SetForeground(spotify);
    MeasureSpotify(app, os);
    if (minimised) {
        d.SetPos(spotify, win::kHwndTop, app.screenWidth, app.screenHeight, 1, 1, win::kSwpNoSize);
    } else {
        app.savedParent = d.SetParent(spotify, os.windows.container);
        d.SetPos(spotify, win::kHwndTop, 1, 1, 1, 1, win::kSwpNoSize | win::kSwpNoActivate | win::kSwpShowWindow);
    }
    d.SetForeground(app.previousForeground == spotify ? os.windows.main : app.previousForeground);
    ToggleLayered(app, os);
    app.spotifyParked = true;
    app.spotifyReparented = !minimised;
    app.parkedWindow = spotify;
}

// The parking flags speak of one window; a new or vanished one starts afresh.
void ForgetParking(ApplicationState& app) {
    app.spotifyParked = false;
    app.spotifyReparented = false;
    app.savedParent = nullptr;
    app.parkedWindow = nullptr;
}

void Unpark(ApplicationState& app, Platform& os) {
    Desktop& d = os.desktop;
    WindowHandle spotify = app.spotifyWindow;
    d.Show(spotify, win::kSwRestore);
    if (app.spotifyLeft >= app.screenWidth || app.spotifyTop >= app.screenHeight || app.spotifyLeft < 0 ||
        app.spotifyTop < 0) {
        app.spotifyLeft = 10;
        app.spotifyTop = 10;
    }
    if (app.spotifyReparented) d.SetParent(spotify, app.savedParent);
    d.SetPos(spotify, win::kHwndTop, app.spotifyLeft, app.spotifyTop, 1, 1, win::kSwpNoSize | win::kSwpShowWindow);
    d.SetForeground(spotify);
    app.spotifyParked = false;
    app.spotifyReparented = false;
}

// A parked window comes back only when the user has activated it.
void UnparkIfActivated(ApplicationState& app, Platform& os) {
    if (os.desktop.Foreground() == app.spotifyWindow) Unpark(app, os);
}

}  // namespace

void KeepSpotifyCapturable(ApplicationState& app, Platform& os) {
    WindowHandle spotify = app.spotifyWindow;
    if (app.spotifyParked && spotify != app.parkedWindow) ForgetParking(app);
    if (!spotify || !os.desktop.IsWindow(spotify)) {
        ForgetParking(app);
        return;
    }
    const bool minimised = os.desktop.IsIconic(spotify);
    const bool visible = os.desktop.IsVisible(spotify);
    // A window closing is hidden for a moment before it goes: a hidden one is
    // parked only when it is still there, hidden, at the next tick.
    const bool justHidden = !minimised && !visible && !app.spotifyParked && app.hiddenWindow != spotify;
    app.hiddenWindow = visible ? nullptr : spotify;
    if (justHidden) return;
    if (minimised || !visible) {
        if (!app.spotifyParked) Park(app, os, minimised);
        else UnparkIfActivated(app, os);
        return;
    }
    if (app.spotifyParked) UnparkIfActivated(app, os);
    else MeasureSpotify(app, os);
}

void WatchParkedSpotify(ApplicationState& app, Platform& os) {
    if (app.spotifyParked && app.parkedWindow == app.spotifyWindow) UnparkIfActivated(app, os);
}

void ResetSpotifyWindow(ApplicationState& app, Platform& os) {
    Desktop& d = os.desktop;
    ToggleLayered(app, os);
    d.Show(app.spotifyWindow, win::kSwRestore);
    if (app.spotifyReparented) d.SetParent(app.spotifyWindow, app.savedParent);
    if (app.spotifyLeft >= app.screenWidth || app.spotifyTop >= app.screenHeight) {
        app.spotifyLeft = 1;
        app.spotifyTop = 1;
    }
    d.SetPos(app.spotifyWindow, win::kHwndTop, app.spotifyLeft, app.spotifyTop, 1, 1,
             win::kSwpNoSize | win::kSwpShowWindow);
    app.spotifyParked = false;
    app.spotifyReparented = false;
}

void ReleaseSpotifyWindow(ApplicationState& app, Platform& os) {
    Desktop& d = os.desktop;
    if (app.fillerPlaying) PlayMp3(app, os.filler, os.controls, false);
    WindowHandle spotify = app.spotifyWindow;
    // An end in the middle of parking must not leave Spotify invisible.
    if (app.spotifyTransparent && d.IsWindow(spotify)) {
        d.SetLayeredAlpha(spotify, 255);
        d.SetExStyle(spotify, d.ExStyle(spotify) & ~win::kWsExLayered);
    }
    app.spotifyTransparent = false;
    if (app.parkedWindow == spotify && d.IsWindow(spotify)) {
        if (app.spotifyReparented) d.SetParent(spotify, app.savedParent);
        if (app.spotifyParked)
            d.SetPos(spotify, win::kHwndTop, app.spotifyLeft, app.spotifyTop, 1, 1,
                     win::kSwpNoSize | win::kSwpShowWindow);
    }
    // A window minimised again after a called-off end is parked afresh.
    ForgetParking(app);
}
