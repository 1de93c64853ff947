#include "blocking/advert_classifier.h"

#include <cstring>

#include "base/text_helpers.h"
#include "blocking/screen_probes.h"
#include "client/spotify_contract.h"
#include "platform/ansi_text.h"

std::string TrackText(const std::string& title) {
    // Characters, not bytes, where the title is UTF-8 (the prefix is ASCII,
    // but a title without it must not be cut inside a character).
    const bool utf8 = IsUtf8(title);
    std::size_t at = 0;
    for (int n = 0; n < spotify::kTitlePrefixLength && at < title.size(); ++n)
        do ++at; while (utf8 && at < title.size() && IsContinuationByte(title[at]));
    return at < title.size() ? title.substr(at) : std::string();
}

namespace {

// The en dash in the code page's bytes; empty where the code page has none
// (a Japanese or Korean one): such a title stays on one line.
const std::string& TitleDash() {
    static const std::string dash = AnsiCharacter(spotify::kEnDash);
    return dash;
}

}  // namespace

std::string SplitTitleAt(const std::string& trackText, const std::string& dash) {
    const std::size_t at = dash.empty() ? std::string::npos : trackText.find(dash);
    if (at == std::string::npos) return trackText;
    // Replace the character before the dash (a blank), the dash and the one
    // after it; at either end of the text only what is there. In UTF-8 a
    // character may take several bytes and is never cut in half.
    const bool utf8 = IsUtf8(trackText);
    const auto inside = [&](std::size_t i) { return utf8 && i < trackText.size() && IsContinuationByte(trackText[i]); };
    std::size_t first = at, after = at + dash.size();
    if (first > 0) do --first; while (inside(first));
    if (after < trackText.size()) do ++after; while (inside(after));
    return trackText.substr(0, first) + "\n" + trackText.substr(after);
}

std::string DisplayText(const std::string& trackText) {
    return SplitTitleAt(trackText, TitleDash());
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
