#include "client/client_process.h"

#include "client/spotify_contract.h"
#include "client/window_scale.h"
#include "platform/ansi_text.h"

#include <cctype>

#include "base/health.h"
#include "base/log.h"
#include "base/text_helpers.h"

namespace {

constexpr unsigned char kVkAlt = 0x12;


}  // namespace

bool MeasureSpotify(ApplicationState& app, Platform& os) {
    WindowRect r;
    if (!os.desktop.GetRect(app.spotifyWindow, r)) return false;
    const int dpi = os.screen.Scale(app.spotifyWindow).dpi;
    app.spotifyLeft = r.left;
    app.spotifyTop = r.top;
    app.spotifyWidth = PixelsToUnits(r.Width(), dpi);
    app.spotifyHeight = PixelsToUnits(r.Height(), dpi);
    return true;
}

void StartSpotify(ApplicationState& app, Platform& os) {
    app.spotifyWindow = os.desktop.FindTopWindow(spotify::kMainWindowClass, nullptr);
    if (!app.spotifyWindow) {
        const std::string path = os.system.ExpandEnvironment(spotify::kExecutablePath);
        if (os.desktop.ShellOpen(path) > 32) {
            LogLine("Spotify:    Started");
            return;
        }
        LogLine("Error:      Failed to find Spotify in %appdata%");
        ReportTrouble(app, os, Trouble::SpotifyMissing,
                      "Spotify is not running and could not be started. It is started from " + path +
                          "; install the Spotify desktop program there, or start it yourself.");
        return;
    }
    ClearTrouble(app, os, Trouble::SpotifyMissing);
    os.desktop.Show(app.spotifyWindow, win::kSwShowNormal);
    MeasureSpotify(app, os);
    if (app.spotifyHeight >= spotify::kStartLoggedInMinHeight && app.spotifyWidth >= spotify::kStartLoggedInMinWidth)
        app.loggedIn = true;
}

SpotifyProcess FindSpotifyProcess(Platform& os) {
    SpotifyProcess result;
    std::vector<std::uint32_t> ids;
    if (!os.system.EnumerateProcesses(ids)) return result;
    result.enumerated = true;
    for (std::uint32_t id : ids) {
        std::string name;
        if (!os.system.ProcessImageName(id, name)) continue;
        if (EqualNoCase(BaseName(name), spotify::kProcessImageName)) {
            result.found = true;
            result.processId = id;
            break;
        }
    }
    return result;
}

void KillSpotify(ApplicationState& app, Platform& os) {
    // The client runs several processes of that name; the one that matters
    // owns the main window (which may be parked, so not a top-level window).
    WindowHandle main = app.spotifyWindow;
    if (!os.desktop.IsWindow(main)) main = os.desktop.FindTopWindow(spotify::kMainWindowClass, nullptr);
    if (const std::uint32_t owner = main ? os.desktop.ProcessOf(main) : 0) {
        os.system.TerminateProcess(owner);
        return;
    }
    const SpotifyProcess p = FindSpotifyProcess(os);
    if (p.enumerated && p.found) os.system.TerminateProcess(p.processId);
}

void BringToForeground(Platform& os, WindowHandle window) {
    Desktop& d = os.desktop;
    WindowHandle front = d.Foreground();
    if (!front) front = d.FindTopWindow("Shell_TrayWnd", nullptr);
    if (window == front) return;
    if (d.IsIconic(window)) d.Show(window, win::kSwRestore);
    if (d.SetForeground(window)) return;
    // Windows lets a thread take the foreground only from one it shares input
    // with: join the three input queues for the moment.
    const unsigned self = d.CurrentThread(), target = d.ThreadOf(window), current = d.ThreadOf(front);
    d.AttachInput(self, target, true);
    d.AttachInput(self, current, true);
    d.AttachInput(current, target, true);
    if (!d.SetForeground(window)) {
        d.TapKey(kVkAlt);
        d.TapKey(kVkAlt);
        d.SetForeground(window);
    }
    d.AttachInput(self, target, false);
    d.AttachInput(self, current, false);
    d.AttachInput(current, target, false);
}

void MakeSpotifyTransparent(ApplicationState& app, Platform& os) {
    if (!os.desktop.CanLayer()) return;
    app.spotifyTransparent = true;
    os.desktop.SetExStyle(app.spotifyWindow, os.desktop.ExStyle(app.spotifyWindow) | win::kWsExLayered);
    os.desktop.SetLayeredAlpha(app.spotifyWindow, 0);
}

void ToggleLayered(ApplicationState& app, Platform& os) {
    if (!os.desktop.CanLayer()) return;
    const long style = os.desktop.ExStyle(app.spotifyWindow);
    if (style & win::kWsExLayered) {
        os.desktop.SetExStyle(app.spotifyWindow, style & ~win::kWsExLayered);
        app.spotifyTransparent = false;
        return;
    }
    os.desktop.SetExStyle(app.spotifyWindow, style | win::kWsExLayered);
    os.desktop.SetLayeredAlpha(app.spotifyWindow, 255);
}

bool LoggedInSize(const ApplicationState& app) {
    return app.spotifyHeight > spotify::kLoggedInMinHeightExclusive &&
           app.spotifyWidth > spotify::kLoggedInMinWidthExclusive;
}
