#include "blocking/login_watcher.h"

#include "base/log.h"
#include "client/client_process.h"
#include "client/spotify_contract.h"

namespace {

constexpr int kFirstWindowPollMs = 750;
constexpr int kLoggedOutPollMs = 1000;
constexpr int kWatchPollMs = 3000;
// While a volume is owed (or would be, should Spotify go now), a restarted
// Spotify is looked for this often, so that its volume comes back within half
// a second of its new window.
constexpr int kVolumeOwedPollMs = 250;

bool VolumeOwed(const ApplicationState& app) {
    return app.volumeRestorePending || app.advertBlocked;
}

int WatchPoll(const ApplicationState& app) {
    return VolumeOwed(app) ? kVolumeOwedPollMs : kWatchPollMs;
}

int LoggedOutPoll(const ApplicationState& app) {
    return VolumeOwed(app) ? kVolumeOwedPollMs : kLoggedOutPollMs;
}

WindowHandle FindSpotify(Platform& os) {
    return os.desktop.FindTopWindow(spotify::kMainWindowClass, nullptr);
}

int WaitForFirstWindow(ApplicationState& app, Platform& os, LoginWatcher& w) {
    app.spotifyWindow = FindSpotify(os);
    if (app.spotifyWindow) w.phase = LoginWatcher::Watching;
    return kFirstWindowPollMs;
}

int Watch(ApplicationState& app, Platform& os, LoginWatcher& w, AdvertTimers& timers) {
    if (!os.desktop.IsWindow(os.windows.main)) {
        if (WindowHandle console = TheDebugLog().consoleWindow) os.desktop.Post(console, win::kWmClose, 0, 0);
        w.phase = LoginWatcher::Ended;
        return 0;
    }
    if (os.desktop.IsWindow(app.spotifyWindow)) return WatchPoll(app);
    timers.Stop();
    app.loggedIn = false;
    LogLine("Spotify:    Logged out");
    w.phase = LoginWatcher::LoggedOut;
    return LoggedOutPoll(app);
}

// A main window is there: logged in once it has the size of a logged-in client.
int Measure(ApplicationState& app, Platform& os, LoginWatcher& w, AdvertTimers& timers) {
    if (!os.desktop.IsWindow(app.spotifyWindow) || !MeasureSpotify(app, os)) {
        w.phase = LoginWatcher::LoggedOut;
        return LoggedOutPoll(app);
    }
    if (!LoggedInSize(app)) {
        w.phase = LoginWatcher::Measuring;
        return LoggedOutPoll(app);
    }
    LogLine("Spotify:    Logged in");
    app.loggedIn = true;
    timers.Start();
    w.phase = LoginWatcher::Watching;
    return WatchPoll(app);
}

int LookAgain(ApplicationState& app, Platform& os, LoginWatcher& w, AdvertTimers& timers) {
    app.spotifyWindow = FindSpotify(os);
    if (!os.desktop.IsWindow(app.spotifyWindow)) return LoggedOutPoll(app);
    return Measure(app, os, w, timers);
}

}  // namespace

int LoginWatcherStep(ApplicationState& app, Platform& os, LoginWatcher& w, AdvertTimers& timers) {
    switch (w.phase) {
    case LoginWatcher::WaitingForSpotify: return WaitForFirstWindow(app, os, w);
    case LoginWatcher::Watching: return Watch(app, os, w, timers);
    case LoginWatcher::LoggedOut: return LookAgain(app, os, w, timers);
    case LoginWatcher::Measuring: return Measure(app, os, w, timers);
    case LoginWatcher::Ended: return 0;
    }
    return 0;
}

int RunLoginWatcher(ApplicationState& app, Platform& os, AdvertTimers& timers) {
    LoginWatcher watcher;
    for (int pause; (pause = LoginWatcherStep(app, os, watcher, timers)) > 0;) os.clock.Sleep(pause);
    return kPlannedExitCode;
}
