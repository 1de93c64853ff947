// The two advert timers on the main window (1: detection, every 50 ms; 2: image
// adverts, every 1500 ms) and the login watcher's thread. The watcher asks for
// timer changes by posting to the main window, so that they are carried out on
// the user-interface thread that owns the timers.
#pragma once
#include <windows.h>

#include <atomic>

#include "blocking/login_watcher.h"

constexpr UINT_PTR kDetectionTimerId = 1;
constexpr UINT_PTR kAdvertWindowTimerId = 2;
constexpr UINT kDetectionPeriodMs = 50;
constexpr UINT kAdvertWindowPeriodMs = 1500;
constexpr UINT kStopAdvertTimersMessage = WM_APP + 1;
constexpr UINT kStartAdvertTimersMessage = WM_APP + 2;

// What the ticks act on.
struct TickTarget {
    ApplicationState* app = nullptr;
    Platform* os = nullptr;
};

// Lets main's timer callbacks and the watcher find the target (one main window
// in a process; the target must outlive its timers and the watcher).
void SetTickTarget(HWND main, TickTarget* target);

void ArmAdvertTimers(HWND main);
void KillAdvertTimers(HWND main);

// What is being done to Spotify (a mute, an advert's end, a star), a stage at
// a time: after anything that may have queued stages, the timer is set for
// the next one.
constexpr UINT_PTR kSequenceTimerId = 4;
void KeepSequenceGoing(HWND main);

// Every half second: hotkeys another program held are asked for again.
constexpr UINT_PTR kHotkeyRetryTimerId = 3;
constexpr UINT kHotkeyRetryPeriodMs = 500;
void ArmHotkeyRetryTimer(HWND main);

// For the main window's procedure: carries out a request the watcher posted.
// True when the message was one.
bool OnAdvertTimersRequest(HWND main, UINT message);

// How many ticks of each timer have run, for tests and benchmarks.
struct AdvertTickCounts {
    std::atomic<long> detection{0};
    std::atomic<long> advertWindow{0};
};
AdvertTickCounts& TheAdvertTickCounts();

class PostedAdvertTimers : public AdvertTimers {
public:
    explicit PostedAdvertTimers(HWND main) : main_(main) {}
    void Stop() override { PostMessageA(main_, kStopAdvertTimersMessage, 0, 0); }
    void Start() override { PostMessageA(main_, kStartAdvertTimersMessage, 0, 0); }

private:
    HWND main_;
};

// Starts the login watcher on its own thread (after the timers are armed and
// the target set).
HANDLE StartLoginWatcherThread(HWND main, DWORD* threadId);
