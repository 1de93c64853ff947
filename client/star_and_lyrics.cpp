#include "client/star_and_lyrics.h"

#include "client/spotify_contract.h"
#include "platform/ansi_text.h"

#include <cstdio>

#include "blocking/advert_classifier.h"
#include "client/transport.h"
#include "client/client_process.h"
#include "keys/key_sequence.h"

namespace {

constexpr const char* kSearchEndpoint = "https://www.google.com/search";

bool Unreserved(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
           b == '_' || b == '~';
}

// The address goes to the shell: the title, as UTF-8, keeps only letters,
// digits and "-._~" as they are; every other byte is percent-encoded.
std::string EncodeQuery(const std::string& text) {
    std::string out;
    for (char c : Utf8FromWide(WidenAnsi(text))) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (!Unreserved(b)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string LyricsAddress(const std::string& trackText) {
    return std::string(kSearchEndpoint) + "?q=" + EncodeQuery(trackText + " lyrics") + "&btnI=Im+Feeling+Lucky";
}

void StarTrack(ApplicationState& app, Platform& os) {
    Desktop& d = os.desktop;
    os.clock.Sleep(1000);
    WindowHandle front = d.Foreground();
    const bool spotifyInFront = front == app.spotifyWindow;
    if (!spotifyInFront) {
        MakeSpotifyTransparent(app, os);
        d.SetForeground(app.spotifyWindow);
    }
    ClickSpotify(app, os, spotify::kStarTargetX, app.spotifyHeight - spotify::kStarTargetUp);
    os.clock.Sleep(100);
    os.keys.Send("{APPSKEY}");
    os.clock.Sleep(150);
    os.keys.Send(std::string(1, spotify::kStarMenuKey));
    os.clock.Sleep(100);
    if (!spotifyInFront) {
        d.SetForeground(front);
        ToggleLayered(app, os);
    }
    if (!app.spotifyParked) return;
    // Back to where a parked window is kept.
    const unsigned flags = win::kSwpNoSize | win::kSwpNoActivate;
    if (app.spotifyReparented) d.SetPos(app.spotifyWindow, win::kHwndBottom, 1, 1, 1, 1, flags);
    else d.SetPos(app.spotifyWindow, win::kHwndBottom, app.screenWidth, app.screenHeight, 1, 1, flags);
}

void SearchLyrics(ApplicationState& app, Platform& os) {
    app.titleBuffer[0] = '\0';
    os.screen.ReadTitle(app.spotifyWindow, app.titleBuffer, sizeof app.titleBuffer);
    app.titleBuffer[sizeof app.titleBuffer - 1] = '\0';
    const std::string title = app.titleBuffer;
    if (title == spotify::kIdleTitle) return;
    os.desktop.ShellOpen(LyricsAddress(TrackText(title)));
}

void SendDebugKeys(ApplicationState& app, Platform& os) {
    BringToForeground(os, app.spotifyWindow);
    os.clock.Sleep(50);
    os.keys.Send("^!{HOME}");
}
