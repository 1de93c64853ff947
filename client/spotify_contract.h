// Everything this program relies on of the Spotify desktop client, in one place.
// Points are window-relative pixels of the whole window rectangle; most are
// counted back from the window's height ("Up" below) or width ("FromRight").
#pragma once
#include "platform/types.h"

namespace spotify {

// Windows.
constexpr const char* kMainWindowClass = "SpotifyMainWindow";
constexpr const char* kFullScreenAdvertClass = "SpotifyWindow";

// Process.
constexpr const char* kExecutablePath = "%appdata%\\Spotify\\spotify.exe";
constexpr const char* kProcessImageName = "Spotify.exe";  // compared without case

// Title: exactly "Spotify" while nothing plays; otherwise "Spotify - " followed
// by artist, blank, en dash, blank, track title. The title is Unicode: read
// narrow, the en dash is the code page's bytes for U+2013 (E2 80 93 in UTF-8,
// 96 in 1252, two bytes in 932), so it is looked for as text, not as a byte.
constexpr const char* kIdleTitle = "Spotify";
constexpr const char* kTitlePrefix = "Spotify - ";
constexpr int kTitlePrefixLength = 10;
constexpr wchar_t kEnDash = L'\u2013';
constexpr int kPlayingTitleMinLength = 8;

// Logged-in window size: the watcher wants more than these, start-up at least
// the second pair.
constexpr int kLoggedInMinWidthExclusive = 405;
constexpr int kLoggedInMinHeightExclusive = 320;
constexpr int kStartLoggedInMinWidth = 600;
constexpr int kStartLoggedInMinHeight = 460;

// Advert probes: A grey and B not the green veto means an advert plays.
constexpr int kProbeAX = 88;
constexpr int kProbeAUp = 30;
constexpr Colour kProbeAGrey = 0x828282;
constexpr int kProbeBX = 263;
constexpr int kProbeBUp = 22;
constexpr Colour kProbeBGreen = 0xC4FFC4;

// Volume slider: the knob's left edge, found by its colour on one row.
constexpr Colour kKnobColour = 0xDCDCDC;
constexpr int kKnobRowUp = 25;
constexpr int kKnobScanFirstX = 120;
constexpr int kKnobScanLastX = 200;
constexpr int kKnobNotFoundX = 201;
constexpr int kKnobMutedX = 124;   // 0 %
constexpr int kKnobFullX = 200;    // 100 %
constexpr int kKnobWidth = 3;      // pixels of knob colour drawn on the row
// Rows on which a click moves the knob, and the span of the slider's track.
constexpr int kSliderClickRowsUp[] = {23, 21, 20};
constexpr int kSliderClickFirstX = 118;
constexpr int kSliderClickLastX = 212;

// Volume clicks.
constexpr int kMuteClickX = 120;
constexpr int kMuteClickUp = 23;       // also the restore click's row
constexpr int kStepClickBaseX = 125;   // VolumeUp / VolumeDown
constexpr int kStepClickUp = 21;
constexpr int kFollowClickBaseX = 123; // following the main window's slider
constexpr int kFollowClickUp = 20;

// Player-bar clicks.
constexpr int kBarClickUp = 21;
constexpr int kPreviousX = 21;
constexpr int kPlayPauseX = 42;
constexpr int kNextX = 84;
constexpr int kShuffleFromRight = 60;
constexpr int kRepeatFromRight = 30;
constexpr int kStarTargetX = 64;
constexpr int kStarTargetUp = 46;

// Keys: the context-menu key then "t" stars the clicked track; Ctrl+Alt+Home
// is the debug combination.
constexpr char kStarMenuKey = 't';

// Image adverts.
constexpr int kBannerWidth = 160;   // a child window exactly this wide, or
constexpr int kBannerHeight = 90;   // exactly this high, is a banner
constexpr int kFullScreenAdvertWidth = 800;
constexpr int kFullScreenAdvertHeights[] = {345, 435};

}  // namespace spotify
