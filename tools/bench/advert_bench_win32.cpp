// Under Wine: how long each advert stays audible when the real timers and
// watcher silence it (measured by the simulated client), and what an idle tick
// costs. Prints figures; asserts nothing.
//   advert_bench [ADVERTS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/advert_timers_win32.h"
#include "blocking/detection_loop.h"
#include "client/client_process.h"
#include "app/win32_platform.h"
#include "sim_rig.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnAdvertTimersRequest(window, message)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHost(const char* title, int x, int y) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AdquellBenchHost";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title, WS_POPUP, x, y, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

void PumpUntilEnd(SimRig& rig, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    while (rig.WaitForEvent(" end", 0).ms < 0 && GetTickCount() - start < deadlineMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int adverts = argc > 1 ? std::atoi(argv[1]) : 20;
    Win32Platform win;
    Platform& os = win.platform;
    ApplicationState app;
    app.screenWidth = os.desktop.ScreenWidth();
    app.screenHeight = os.desktop.ScreenHeight();
    app.muteAdverts = true;
    HWND main = MakeHost("Adquell Lite", 0, 0);
    os.windows.main = main;
    os.windows.container = MakeHost("SpotifyContainer", app.screenWidth, app.screenHeight);
    os.windows.popups = MakeHost("SpotifyPopups", app.screenWidth, app.screenHeight);
    TickTarget target{&app, &os};
    SetTickTarget(main, &target);

    std::string script = "set volume 60\n";
    for (int i = 0; i < adverts; ++i)
        script += "track | Artist " + std::to_string(i) + " | Song | 1000\nadvert | Brand | Advert " +
                  std::to_string(i) + " | 1200\n";
    script += "track | Last | Song | 1500\n";
    SimRig rig("bench");
    if (!rig.Start(script)) return 1;
    app.optionsPath = rig.Folder() + "Options.ini";
    std::ofstream(app.optionsPath, std::ios::binary) << " [Options]\r\n Mute=True\r\n";
    StartSpotify(app, os);
    ArmAdvertTimers(main);
    DWORD watcherId = 0;
    StartLoginWatcherThread(main, &watcherId);
    PumpUntilEnd(rig, 120000);
    KillAdvertTimers(main);

    const AdvertFigures figures = ReadAdvertFigures(rig.Summary());
    const std::vector<long long>& audible = figures.audibleMs;
    const int restored = figures.restored, after = figures.tracksAfterAdverts;
    if (audible.empty()) return 2;
    std::printf("adverts: %zu played, %d silenced (counted by the program)\n", audible.size(), app.advertsBlocked);
    std::printf("audible ms per advert: median %lld, 95th percentile %lld, maximum %lld\n",
                Percentile(audible, 0.5), Percentile(audible, 0.95), *std::max_element(audible.begin(), audible.end()));
    std::printf("tracks after an advert at the user's volume: %d of %d\n", restored, after);

    // Idle ticks: the title does not change.
    std::ofstream(rig.Folder() + "playlist.txt", std::ios::binary);
    SimRig idle("bench-idle");
    if (!idle.Start("track | Idle | Track | 600000\n")) return 3;
    StartSpotify(app, os);
    DetectionTick(app, os);
    const int ticks = 1000;
    const double before = ProcessCpuMs(GetCurrentProcess());
    for (int i = 0; i < ticks; ++i) DetectionTick(app, os);
    const double spent = ProcessCpuMs(GetCurrentProcess()) - before;
    std::printf("idle tick under Wine: %d ticks, %.1f ms CPU, %.3f ms each, %.2f %% of one core at 20 ticks/s\n",
                ticks, spent, spent / ticks, spent / ticks * 20 / 10);
    rig.Close();
    idle.Close();
    DestroyWindow(main);
    return 0;
}
