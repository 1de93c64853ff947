#include "app/advert_timers_win32.h"

#include "blocking/detection_loop.h"
#include "blocking/image_adverts.h"

namespace {

ApplicationState* tickApp = nullptr;
Platform* tickPlatform = nullptr;

// The next tick comes 50 ms after this one ends, however long it took.
void CALLBACK DetectionTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, kDetectionTimerId);
    ++TheAdvertTickCounts().detection;
    DetectionTick(*tickApp, *tickPlatform);
    SetTimer(window, kDetectionTimerId, kDetectionPeriodMs, DetectionTimerProc);
}

void CALLBACK AdvertWindowTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    ++TheAdvertTickCounts().advertWindow;
    AdvertWindowTick(*tickApp, *tickPlatform);
}

DWORD WINAPI LoginWatcherThread(LPVOID parameter) {
    PostedAdvertTimers timers(static_cast<HWND>(parameter));
    return static_cast<DWORD>(RunLoginWatcher(*tickApp, *tickPlatform, timers));
}

}  // namespace

AdvertTickCounts& TheAdvertTickCounts() {
    static AdvertTickCounts counts;
    return counts;
}

void SetTickTarget(ApplicationState* app, Platform* os) {
    tickApp = app;
    tickPlatform = os;
}

void ArmAdvertTimers(HWND main) {
    SetTimer(main, kDetectionTimerId, kDetectionPeriodMs, DetectionTimerProc);
    SetTimer(main, kAdvertWindowTimerId, kAdvertWindowPeriodMs, AdvertWindowTimerProc);
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
