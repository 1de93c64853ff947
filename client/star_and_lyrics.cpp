#include "client/star_and_lyrics.h"

#include "client/spotify_contract.h"
#include "platform/ansi_text.h"

#include <cstdio>

#include "blocking/advert_classifier.h"
#include "blocking/spotify_sequence.h"
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

namespace {

// The hotkey's own keys are let go first.
int LetKeysGoStage(ApplicationState& app, Platform&) {
    return PauseIsOver(app) ? kNextStage : 1000;
}

// Spotify in front (made invisible first when it was not), its track clicked.
int ClickTrackStage(ApplicationState& app, Platform& os) {
    if (PauseIsOver(app)) return kNextStage;
    Desktop& d = os.desktop;
    app.starFront = d.Foreground();
    if (app.starFront != app.spotifyWindow) {
        MakeSpotifyTransparent(app, os);
        d.SetForeground(app.spotifyWindow);
    }
    ClickSpotify(app, os, spotify::kStarTargetX, app.spotifyHeight - spotify::kStarTargetUp);
    return 100;
}

int OpenTrackMenuStage(ApplicationState& app, Platform& os) {
    if (PauseIsOver(app)) return kNextStage;
    os.keys.Send("{APPSKEY}");
    return 150;
}

int SaveTrackStage(ApplicationState& app, Platform& os) {
    if (PauseIsOver(app)) return kNextStage;
    os.keys.Send(std::string(1, spotify::kStarMenuKey));
    return 100;
}

// The window that was in front gets the foreground back; a parked Spotify
// goes back to where it is kept.
int PutBackAfterStarStage(ApplicationState& app, Platform& os) {
    Desktop& d = os.desktop;
    if (app.starFront != app.spotifyWindow) {
        d.SetForeground(app.starFront);
        ToggleLayered(app, os);
    }
    if (!app.spotifyParked) return kNextStage;
    const unsigned flags = win::kSwpNoSize | win::kSwpNoActivate;
    if (app.spotifyReparented) d.SetPos(app.spotifyWindow, win::kHwndBottom, 1, 1, 1, 1, flags);
    else d.SetPos(app.spotifyWindow, win::kHwndBottom, app.screenWidth, app.screenHeight, 1, 1, flags);
    return kNextStage;
}

}  // namespace

void StarTrack(ApplicationState& app, Platform&) {
    QueueStages(app, {LetKeysGoStage, ClickTrackStage, OpenTrackMenuStage, SaveTrackStage, PutBackAfterStarStage});
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
