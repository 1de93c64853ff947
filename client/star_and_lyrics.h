// Commands that need more than one click: starring the playing track through
// Spotify's context menu, a lyrics web search, and the debug key combination.
#pragma once
#include <string>

#include "base/application_state.h"
#include "base/platform.h"

// Queued as a sequence (blocking/spotify_sequence.h): a second's wait, then
// Spotify's context menu.
void StarTrack(ApplicationState& app, Platform& os);
void SearchLyrics(ApplicationState& app, Platform& os);
void SendDebugKeys(ApplicationState& app, Platform& os);

// The search address for a track text: the query is the text and " lyrics",
// with the characters that would change the address's meaning encoded.
std::string LyricsAddress(const std::string& trackText);
