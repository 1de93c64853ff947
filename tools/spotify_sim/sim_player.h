// The simulated client's player: playlist position, play state, volume knob,
// reactions to clicks and keys, and the honest record of what happened.
// Portable: the Win32 shell feeds it real time, clicks and keys, draws what it
// says and carries out its window effects.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"
#include "sim_script.h"

// What the shell must do to its windows.
struct SimEffect {
    enum Kind { CreateBanner, CreateFullScreen, CloseMain, OpenMain, Resize, Exit };
    Kind kind = Exit;
    int width = 0;
    int height = 0;
};

struct SimAdvertRecord {
    int entry = 0;
    std::int64_t audibleMs = 0;  // playing with the volume above 0 %
};

struct SimTrackRecord {
    int entry = 0;
    bool afterAdvert = false;
    int userKnob = 0;               // the knob before the adverts that preceded it
    int knob = 0;                   // its knob when it stopped being current (or now)
    std::int64_t offVolumeMs = 0;   // after an advert: played at another volume this long
};

struct SimDelayedClick {
    int x = 0;
    int y = 0;
    std::int64_t dueMs = 0;
};

struct SimPlayer {
    SimSettings settings;
    std::vector<SimEntry> entries;
    int entry = -1;
    bool playing = false;
    bool finished = false;
    bool loggedIn = true;
    bool mainOpen = true;
    double positionMs = 0;
    int knobLeft = 200;
    bool shuffle = false;
    bool repeat = false;
    int width = 800;
    int height = 600;
    int clicksToIgnore = 0;
    int starStage = 0;
    int stars = 0;
    int userKnob = 200;
    std::int64_t now = 0;
    std::int64_t loginAtMs = -1;
    std::int64_t reopenAtMs = -1;
    int reopenWidth = 0;
    int reopenHeight = 0;
    bool splash = false;              // the splash window shows, the main window is not open yet
    int paintedEntry = -1;            // the entry the player bar shows (lags with repaint-delay)
    std::int64_t repaintAtMs = -1;
    std::int64_t volumeBackAtMs = -1;  // fault: the client sets its volume back
    std::int64_t restartAtMs = -1;     // fault: the client ends and comes back
    std::int64_t listenerAtMs = -1;    // the listener sets listenerVolume
    int listenerVolume = 0;
    std::int64_t knobShownAtMs = -1;   // a hidden knob is drawn from then on
    std::string title;
    std::vector<SimDelayedClick> delayed;
    std::vector<SimAdvertRecord> adverts;
    std::vector<SimTrackRecord> tracks;
    std::vector<std::pair<std::int64_t, std::string>> events;  // drained by the shell
    std::vector<SimEffect> effects;                              // drained by the shell
};

void StartSim(SimPlayer& p, const SimScript& script, std::int64_t nowMs);
// Lets time run to nowMs: playback, entry changes, delayed clicks, login, reopen.
void AdvanceSim(SimPlayer& p, std::int64_t nowMs);
// A left click (press and release) at window point (x, y).
void SimClick(SimPlayer& p, int x, int y, std::int64_t nowMs);
// A key pressed while the main window has the focus (virtual-key code).
void SimKey(SimPlayer& p, int vk, std::int64_t nowMs);
// Something the shell saw and wants in the record, e.g. a banner re-parented.
void SimRecord(SimPlayer& p, std::int64_t nowMs, const std::string& what);

int SimVolume(const SimPlayer& p);  // percent of the knob position
int KnobVolumePercent(int knobLeft);
int KnobLeftForVolume(int percent);
Colour SimProbeAColour(const SimPlayer& p);
Colour SimProbeBColour(const SimPlayer& p);
std::string SimSummary(const SimPlayer& p, bool final);
