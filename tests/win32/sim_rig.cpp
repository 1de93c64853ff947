#include "sim_rig.h"

#include <algorithm>
#include <fstream>
#include <sstream>

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

long long FieldOf(const std::string& line, const std::string& key) {
    const std::string marker = key + "=";
    size_t at = line.find(" " + marker);
    if (at == std::string::npos) return -1;
    return std::atoll(line.c_str() + at + 1 + marker.size());
}

std::string WindowTitle(HWND window) {
    char title[1024] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

std::wstring WideText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > deadlineMs) return false;
        Sleep(10);
    }
    return true;
}

bool WaitForTitle(HWND window, const std::string& text, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    while (WindowTitle(window) != text) {
        if (GetTickCount() - start >= deadlineMs) return false;
        Sleep(10);
    }
    return true;
}

void PostClick(HWND window, int x, int y) {
    const LPARAM point = MAKELPARAM(x, y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Sleep(15);
    PostMessageA(window, WM_LBUTTONUP, 0, point);
    Sleep(10);
}

SimRig::SimRig(const std::string& name) : folder_(ExeFolder() + "rig-" + name + "\\") {
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* file : {"playlist.txt", "events.log", "summary.txt", "volume.txt"})
        DeleteFileA((folder_ + file).c_str());
}

SimRig::~SimRig() {
    Kill();
}

HWND SimRig::Start(const std::string& script, DWORD deadlineMs) {
    return Start(script, ExeFolder() + "Spotify.exe", deadlineMs);
}

HWND SimRig::Start(const std::string& script, const std::string& exePath, DWORD deadlineMs) {
    std::ofstream(folder_ + "playlist.txt", std::ios::binary) << script;
    const std::string args = "--script \"" + folder_ + "playlist.txt\" --events \"" + folder_ +
                             "events.log\" --summary \"" + folder_ + "summary.txt\" --volume \"" + folder_ + "volume.txt\"";
    process_ = std::make_unique<ChildProcess>(exePath, args);
    if (!process_->Started()) return nullptr;
    // Its main window appears once it has recorded its start.
    if (WaitForEvent(" start ", deadlineMs).ms < 0) return nullptr;
    const DWORD start = GetTickCount();
    for (;;) {
        HWND w = MainWindow();
        if (w) return w;
        if (GetTickCount() - start >= deadlineMs) return nullptr;
        Sleep(20);
    }
}

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->processId && std::string(cls) == "SpotifyMainWindow") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND SimRig::MainWindow() const {
    if (!process_) return nullptr;
    Search search{process_->Id(), nullptr};
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<SimEventLine> SimRig::Events() const {
    std::vector<SimEventLine> events;
    std::istringstream in(ReadTextFile(folder_ + "events.log"));
    for (std::string line; std::getline(in, line);) {
        const size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        events.push_back({std::atoll(line.substr(0, blank).c_str()), line.substr(blank + 1)});
    }
    return events;
}

SimEventLine SimRig::WaitForEvent(const std::string& text, DWORD deadlineMs, size_t from) const {
    const DWORD start = GetTickCount();
    for (;;) {
        const auto events = Events();
        for (size_t i = from; i < events.size(); ++i)
            if ((" " + events[i].text + " ").find(text) != std::string::npos) return events[i];
        if (GetTickCount() - start >= deadlineMs) return {};
        Sleep(10);
    }
}

std::string SimRig::Summary() const {
    return ReadTextFile(folder_ + "summary.txt");
}

bool SimRig::Close(DWORD deadlineMs) {
    if (!process_) return false;
    HWND w = MainWindow();
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
    return process_->Wait(deadlineMs) == 0;
}

void SimRig::Kill() {
    if (process_) process_->Kill();
}

DWORD SimRig::ProcessId() const {
    return process_ ? process_->Id() : 0;
}

AdvertFigures ReadAdvertFigures(const std::string& summary) {
    AdvertFigures f;
    std::istringstream in(summary);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("advert index=", 0) == 0) f.audibleMs.push_back(FieldOf(line, "audible_ms"));
        if (line.rfind("track ", 0) == 0 && FieldOf(line, "after_advert") == 1) {
            ++f.tracksAfterAdverts;
            f.restored += FieldOf(line, "restored") == 1;
        }
    }
    return f;
}

long long Percentile(std::vector<long long> values, double fraction) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1) + 0.5)];
}

double ProcessCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ms = [](FILETIME t) { return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}
