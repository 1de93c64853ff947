#include "app/advert_timers_win32.h"

#include <algorithm>

#include "blocking/detection_loop.h"
#include "blocking/image_adverts.h"
#include "blocking/spotify_sequence.h"
#include "settings/hotkeys.h"

namespace {

// Held here rather than as a window property: under Wine every property read
// is a request to the wineserver, and each tick would read it twice.
TickTarget* theTarget = nullptr;

TickTarget& TargetOf(HWND) {
    return *theTarget;
}

// A tick that took a measurable time re-arms the timer, so that the next
// comes 50 ms after it ends; one shorter than the tick count's step (an idle
// tick) leaves the timer on its own schedule, since re-arming costs two calls
// into the system. The timer stays armed during a tick: a tick must never run
// a message loop, or a tick would run inside itself.
void CALLBACK DetectionTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    const DWORD started = GetTickCount();
    ++TheAdvertTickCounts().detection;
    TickTarget& target = TargetOf(window);
    DetectionTick(*target.app, *target.os);
    if (GetTickCount() != started) SetTimer(window, kDetectionTimerId, kDetectionPeriodMs, DetectionTimerProc);
    KeepSequenceGoing(window);
}

// Each stage of a sequence at its own time, also while the detection timer is
// stopped (Spotify's window went away in the middle of one).
void CALLBACK SequenceTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, kSequenceTimerId);
    TickTarget& target = TargetOf(window);
    ContinueSequence(*target.app, *target.os);
    KeepSequenceGoing(window);
}

void CALLBACK AdvertWindowTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    ++TheAdvertTickCounts().advertWindow;
    TickTarget& target = TargetOf(window);
    AdvertWindowTick(*target.app, *target.os);
}

void CALLBACK HotkeyRetryTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    TickTarget& target = TargetOf(window);
    RetryHotkeys(*target.app, *target.os);
}

DWORD WINAPI LoginWatcherThread(LPVOID parameter) {
    const HWND main = static_cast<HWND>(parameter);
    PostedAdvertTimers timers(main);
    TickTarget& target = TargetOf(main);
    return static_cast<DWORD>(RunLoginWatcher(*target.app, *target.os, timers));
}

}  // namespace

AdvertTickCounts& TheAdvertTickCounts() {
    static AdvertTickCounts counts;
    return counts;
}

void KeepSequenceGoing(HWND main) {
    TickTarget& target = TargetOf(main);
    const int due = MsUntilNextStage(*target.app, *target.os);
    if (due >= 0) SetTimer(main, kSequenceTimerId, std::max<UINT>(due, USER_TIMER_MINIMUM), SequenceTimerProc);
}

void SetTickTarget(HWND, TickTarget* target) {
    theTarget = target;
}

void ArmAdvertTimers(HWND main) {
    SetTimer(main, kDetectionTimerId, kDetectionPeriodMs, DetectionTimerProc);
    SetTimer(main, kAdvertWindowTimerId, kAdvertWindowPeriodMs, AdvertWindowTimerProc);
}

void ArmHotkeyRetryTimer(HWND main) {
    SetTimer(main, kHotkeyRetryTimerId, kHotkeyRetryPeriodMs, HotkeyRetryTimerProc);
}

void KillAdvertTimers(HWND main) {
    KillTimer(main, kDetectionTimerId);
    KillTimer(main, kAdvertWindowTimerId);
}

bool OnAdvertTimersRequest(HWND main, UINT message) {
    if (message == kStopAdvertTimersMessage) KillAdvertTimers(main);
    else if (message == kStartAdvertTimersMessage) ArmAdvertTimers(main);
    else return false;
    return true;
}

HANDLE StartLoginWatcherThread(HWND main, DWORD* threadId) {
    return CreateThread(nullptr, 0, LoginWatcherThread, main, 0, threadId);
}
