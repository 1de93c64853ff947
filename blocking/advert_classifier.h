// Reading Spotify's title and player bar: is anything playing, is it an advert.
#pragma once
#include <string>

#include "base/application_state.h"
#include "platform/spotify_screen.h"

// The title without its first 10 characters ("Spotify - "); empty when the
// title is 10 characters or shorter.
std::string TrackText(const std::string& title);

// The track text as two label lines: " <en dash> " around the first en dash
// becomes one line feed. A text without an en dash is returned unchanged.
std::string DisplayText(const std::string& trackText);
// The same at a dash given in a code page's bytes (empty: none to split at).
std::string SplitTitleAt(const std::string& trackText, const std::string& dash);

// Reads Spotify's title afresh into probeTitleBuffer: anything longer than the
// bare "Spotify" means something plays.
bool IsSpotifyPlaying(ApplicationState& app, SpotifyScreen& screen);

// Whether currentTitle is an advert, judged by the two player-bar probes. The
// bare title "Spotify" is never an advert and takes no capture.
bool IsAdvertPlaying(const ApplicationState& app, SpotifyScreen& screen);
// The same for another title, e.g. one just read.
bool IsAdvertOnScreen(const ApplicationState& app, SpotifyScreen& screen, const std::string& title);
// The two probes read from a capture already taken (the title aside).
bool IsAdvertInCapture(const ApplicationState& app, const WindowCapture& capture);
