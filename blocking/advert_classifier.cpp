#include "blocking/advert_classifier.h"

#include <cstring>

#include "blocking/screen_probes.h"
#include "client/spotify_contract.h"

std::string TrackText(const std::string& title) {
    if (title.size() <= static_cast<std::size_t>(spotify::kTitlePrefixLength)) return std::string();
    return title.substr(spotify::kTitlePrefixLength);
}

std::string DisplayText(const std::string& trackText) {
    const std::size_t dash = trackText.find(spotify::kEnDash);
    if (dash == std::string::npos) return trackText;
    // Replace the blank before the dash, the dash and the blank after it; at
    // either end of the text only what is there.
    const std::size_t first = dash == 0 ? 0 : dash - 1;
    const std::size_t last = dash + 1 < trackText.size() ? dash + 1 : dash;
    return trackText.substr(0, first) + "\n" + trackText.substr(last + 1);
}

bool IsSpotifyPlaying(ApplicationState& app, SpotifyScreen& screen) {
    app.probeTitleBuffer[0] = '\0';
    screen.ReadTitle(app.spotifyWindow, app.probeTitleBuffer, sizeof app.probeTitleBuffer);
    app.probeTitleBuffer[sizeof app.probeTitleBuffer - 1] = '\0';
    return std::strlen(app.probeTitleBuffer) >= static_cast<std::size_t>(spotify::kPlayingTitleMinLength);
}

bool IsAdvertPlaying(const ApplicationState& app, SpotifyScreen& screen) {
    return IsAdvertOnScreen(app, screen, app.currentTitle);
}

bool IsAdvertOnScreen(const ApplicationState& app, SpotifyScreen& screen, const std::string& title) {
    if (title == spotify::kIdleTitle) return false;
    // Both probes from one capture: each capture is time the advert is heard.
    return IsAdvertInCapture(app, *CaptureSpotify(app, screen));
}

bool IsAdvertInCapture(const ApplicationState& app, const WindowCapture& capture) {
    const int height = app.spotifyHeight;
    if (capture.PixelAt(spotify::kProbeAX, height - spotify::kProbeAUp) != spotify::kProbeAGrey) return false;
    return capture.PixelAt(spotify::kProbeBX, height - spotify::kProbeBUp) != spotify::kProbeBGreen;
}
