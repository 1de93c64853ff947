// The simulated client's playlist script: settings and entries, one a line.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"
#include <vector>

struct SimEvent {
    enum Kind { BannerRight, BannerBottom, FullScreen, Reopen, VolumeBack, Restart, ListenerVolume, KnobShown };
    Kind kind = BannerRight;
    int width = 0;          // full-screen and reopened window size
    int height = 0;
    // reopen: how long the main window stays closed; the others: how long
    // into the entry they happen
    std::int64_t delayMs = 0;
    int percent = 0;  // listener-volume: the volume the listener sets
};

struct SimEntry {
    bool advert = false;
    std::string artist;
    std::string title;
    std::int64_t durationMs = 0;
    bool greyMusic = false;  // music whose probe A is grey too, vetoed by probe B
    std::vector<SimEvent> events;
};

struct SimSettings {
    double timeScale = 1.0;        // playlist time runs this much faster
    bool mutePauses = true;        // reaching 0 % during an advert pauses playback
    int ignoreClicks = 0;          // fault: the next N clicks do nothing
    int reactionDelayMs = 0;       // fault: clicks act this much later
    bool knobOffByOne = false;     // fault: the knob lands one pixel right
    int repaintDelayMs = 0;        // fault: the title changes this long before the player bar
    bool knobHidden = false;       // fault: the knob is not drawn
    Colour knobColour = 0xDCDCDC;  // fault when changed: the knob in another colour
    std::int64_t splashMs = 0;     // a small splash window this long before the main window
    bool startLoggedOut = false;   // start as the small logged-out window
    std::int64_t loginAfterMs = -1;  // then grow to full size after this long
    int startVolume = 100;         // percent
    bool autoplay = true;          // playing from the start (or from login)
    int width = 800;
    int height = 600;
    int left = 100;
    int top = 100;
    bool exitAtEnd = false;        // quit when the playlist has ended
};

struct SimScript {
    SimSettings settings;
    std::vector<SimEntry> entries;
    std::vector<std::string> errors;  // "line N: why", for lines that were skipped
};

SimScript ParseSimScript(const std::string& text);

// Used when no script is given: a few tracks, audio adverts and image adverts.
const char* DefaultSimScript();
