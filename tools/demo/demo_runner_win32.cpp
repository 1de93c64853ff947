// Runs Adquell Lite.exe beside the simulated Spotify client and reports what
// happened, from outside: the client's record, the program's windows, its
// exit code, its process figures and the longest its window took to answer.
//   demo_runner PLAYLIST [--bench] [--shots FOLDER] [--program EXE] [--transport]
// The program is the one the build was told to test (bin\tested), unless
// --program names another.
// --transport first drives Spotify through the program's buttons and hotkey
// functions and checks each click's target. --bench adds two idle minutes
// (scripts/bench-program.sh measures the first and stops the program for
// most of the second) and the program's process figures. --shots pauses for
// screenshots of the main and About windows (a file handshake in FOLDER:
// "<name>.rect" written, "<name>.done" awaited).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "answer_probe.h"
#include "base/application_state.h"
#include "base/command_ids.h"
#include "child_process.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 30000;

// Asks scripts/demo.sh for a screenshot of a part of the screen and waits
// until it is taken.
void ShotOf(const std::string& folder, const std::string& name, const RECT& r) {
    std::ofstream(folder + "\\" + name + ".rect") << r.left << " " << r.top << " " << (r.right - r.left) << " "
                                                  << (r.bottom - r.top) << "\n";
    const DWORD start = GetTickCount();
    while (GetFileAttributesA((folder + "\\" + name + ".done").c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() - start < kDeadline)
        Sleep(50);
}

void Shot(const std::string& folder, const std::string& name, HWND window) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Sleep(700);
    RECT r;
    GetWindowRect(window, &r);
    ShotOf(folder, name, r);
}

void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

// The main window with its Options menu open, as Alt+O opens it.
void OptionsMenuShot(const std::string& folder, HWND main) {
    SetForegroundWindow(main);
    PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 'o');
    HWND menu = WaitForWindow("#32768", nullptr, 5000);
    if (!menu) return;
    Sleep(700);
    RECT window, popup, both;
    GetWindowRect(main, &window);
    GetWindowRect(menu, &popup);
    UnionRect(&both, &window, &popup);
    ShotOf(folder, "options-menu", both);
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
}

// Drives Spotify through the program's buttons and hotkey functions and checks
// in the client's record that each click landed on its target.
int CheckTransport(const SimRig& rig, HWND main) {
    struct Step {
        const char* name;
        UINT message;
        WPARAM id;
        const char* expected;  // in the record after the step
    };
    const Step steps[] = {
        {"volume up", WM_HOTKEY, kHotkeyVolumeUp, "target=knob"},
        {"volume down", WM_HOTKEY, kHotkeyVolumeDown, "target=knob"},
        {"next", WM_COMMAND, kNextButtonId, "target=next"},
        {"previous", WM_COMMAND, kPreviousButtonId, "target=previous"},
        {"shuffle", WM_HOTKEY, kHotkeyShuffle, "shuffle on"},
        {"repeat", WM_HOTKEY, kHotkeyRepeat, "repeat on"},
        {"pause", WM_COMMAND, kPlayButtonId, "target=play-pause"},
        {"play", WM_COMMAND, kPlayButtonId, "target=play-pause"},
    };
    int landed = 0;
    for (const Step& step : steps) {
        const size_t from = rig.EventCount();
        PostMessageA(main, step.message, step.id, 0);
        const bool ok = rig.WaitForEvent(step.expected, 5000, from).ms >= 0;
        landed += ok;
        std::printf("transport: %-11s %s\n", step.name, ok ? "landed" : "MISSED");
    }
    std::printf("transport: %d of %zu landed on their targets\n", landed, sizeof steps / sizeof steps[0]);
    return landed == static_cast<int>(sizeof steps / sizeof steps[0]);
}

int CountEvents(const SimRig& rig, const std::string& text) {
    int n = 0;
    for (const auto& e : rig.Events()) n += e.text.find(text) != std::string::npos;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_runner PLAYLIST [--bench] [--shots FOLDER] [--program EXE]\n");
        return 2;
    }
    bool bench = false, transport = false;
    std::string shots;
    std::string exe = ExeFolder() + "tested\\Adquell Lite.exe";
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bench") == 0) bench = true;
        if (std::strcmp(argv[i], "--transport") == 0) transport = true;
        if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc) shots = argv[++i];
        if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc) exe = argv[++i];
    }
    const std::string playlist = ReadTextFile(argv[1]);
    const std::string work = ExeFolder() + "demo-work";
    RemoveTree(work);
    CreateDirectoryA(work.c_str(), nullptr);

    SimRig rig("demo");
    if (!rig.Start(playlist)) {
        std::printf("the simulated client did not start\n");
        return 1;
    }
    const DWORD launched = GetTickCount();
    std::printf("program: %s\n", exe.c_str());
    ChildProcess program(exe, "", work);
    const std::string title = ProgramTitleOf(exe);
    // Asked from the start until File > Exit, which may block while Spotify is
    // given back; not in a benchmark, whose figures its questions would change.
    std::unique_ptr<AnswerProbe> answers;
    if (!bench) answers = std::make_unique<AnswerProbe>("Adquell", title);
    HWND main = WaitForWindow("Adquell", title.c_str(), kDeadline);
    while (main && !IsWindowVisible(main) && GetTickCount() - launched < kDeadline) Sleep(5);
    const DWORD startUp = GetTickCount() - launched;
    if (!main) {
        std::printf("Adquell Lite did not start\n");
        return 1;
    }
    std::printf("Adquell Lite started in %lu ms, working folder %s\n", startUp, work.c_str());
    if (!shots.empty()) {
        Shot(shots, "main", main);
        HWND about = FindWindowA("Adquell", "About");
        Shot(shots, "about", about);
        ShowWindow(about, SW_HIDE);
        OptionsMenuShot(shots, main);
    }
    bool transportOk = true;
    if (transport) {
        Sleep(1500);  // the program has measured Spotify and runs its ticks
        transportOk = CheckTransport(rig, main) != 0;
    }
    rig.WaitForEvent(" end", 600000);
    Sleep(1600);  // one more image-advert round
    if (bench) {
        std::printf("idle minute starts\n");
        std::fflush(stdout);
        // The caller measures the program's CPU for a minute, then the
        // wineserver's for 50 s with the program stopped (what the simulated
        // client and Wine cost without it).
        Sleep(120000);
        PROCESS_MEMORY_COUNTERS memory = {};
        GetProcessMemoryInfo(program.Handle(), &memory, sizeof memory);
        std::printf("peak working set: %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0);
    }
    if (answers) answers->Stop();
    PostMessageA(main, WM_COMMAND, kExitCommand, 0);  // File, Exit
    const DWORD code = program.Wait(kDeadline);
    rig.Close();

    const AdvertFigures figures = ReadAdvertFigures(rig.Summary());
    const std::vector<long long>& audible = figures.audibleMs;
    const int restored = figures.restored, after = figures.tracksAfterAdverts;
    std::printf("audio adverts played: %zu\n", audible.size());
    for (size_t i = 0; i < audible.size(); ++i) std::printf("  advert %zu audible for %lld ms\n", i + 1, audible[i]);
    if (!audible.empty())
        std::printf("audible ms: median %lld, 95th percentile %lld, maximum %lld\n", Percentile(audible, 0.5),
                    Percentile(audible, 0.95), *std::max_element(audible.begin(), audible.end()));
    std::printf("tracks after an advert back at the listener's exact volume: %d of %d\n", restored, after);
    std::printf("banner adverts hidden: %d of %d\n", CountEvents(rig, "banner reparented"),
                CountEvents(rig, "banner created"));
    std::printf("full-screen adverts closed: %d of %d\n", CountEvents(rig, "fullscreen closed"),
                CountEvents(rig, "fullscreen created"));
    if (answers && answers->Asked())
        std::printf("main window: longest wait for an answer %.0f ms (%lld times asked)\n", answers->LongestMs(),
                    answers->Asked());
    else if (answers)
        std::printf("main window: longest wait for an answer: never asked\n");
    std::printf("Adquell Lite ended with exit code %lu\n", code);
    return code == 1 && transportOk ? 0 : 1;
}
