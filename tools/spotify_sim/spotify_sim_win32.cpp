// The simulated Spotify client: a Win32 program that offers the windows, title,
// pixels and reactions the real client offers, driven by a playlist script,
// and keeps a record of everything it saw.
//   Spotify.exe [--script FILE] [--events FILE] [--summary FILE] [--volume FILE]
// Files default to playlist.txt, events.log, summary.txt and volume.txt beside the exe;
// without a script the built-in demo playlist plays.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "client/spotify_contract.h"
#include "platform/ansi_text.h"
#include "client/window_scale.h"
#include "sim_player.h"

namespace {

constexpr const char* kBannerClass = "SpotifySimBanner";
constexpr UINT kTickMs = 10;

struct Banner {
    HWND window = nullptr;
    bool reparentSeen = false;
};

struct Shell {
    HINSTANCE instance = nullptr;
    SimPlayer player;
    HWND main = nullptr;
    std::vector<Banner> banners;
    FILE* events = nullptr;
    std::string summaryPath;
    std::string volumePath;
    int savedKnob = -1;
    LARGE_INTEGER start{};
    LARGE_INTEGER frequency{};
    bool exiting = false;
    std::string shownTitle;
    int shownKnob = -1;
    int shownEntry = -2;
    bool shownPlaying = false;
    int dpi = kDefaultDpi;  // the client lays out in 96-DPI units, drawn at this scale
} shell;

// A length in units as pixels at the client's scale.
int Px(int units) {
    return UnitsToPixels(units, shell.dpi);
}

// The system's DPI: the client declares itself DPI aware and scales itself.
int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

std::int64_t NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - shell.start.QuadPart) * 1000 / shell.frequency.QuadPart;
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

void WriteSummary(bool final) {
    const std::string temp = shell.summaryPath + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return;
    const std::string text = SimSummary(shell.player, final);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    MoveFileExA(temp.c_str(), shell.summaryPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// As the real client keeps its volume across restarts: written at every
// change, so what a killed client would start with can be read afterwards.
void SaveVolume() {
    if (shell.player.knobLeft == shell.savedKnob) return;
    shell.savedKnob = shell.player.knobLeft;
    if (FILE* f = std::fopen(shell.volumePath.c_str(), "wb")) {
        std::fprintf(f, "%d\n", SimVolume(shell.player));
        std::fclose(f);
    }
}

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    RECT r = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}


void PaintText(HDC dc, const SimPlayer& p) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(230, 230, 230));
    std::string lines[3] = {"Simulated Spotify client", p.title, ""};
    if (p.entry >= 0 && p.entry < static_cast<int>(p.entries.size()))
        lines[2] = std::string(p.entries[p.entry].advert ? "Advert" : "Track") + "  " +
                   std::to_string(p.entry + 1) + " of " + std::to_string(p.entries.size()) + "   volume " +
                   std::to_string(SimVolume(p)) + " %" + (p.playing ? "   playing" : "   paused");
    for (int i = 0; i < 3; ++i)
        TextOutA(dc, Px(16), Px(16 + 22 * i), lines[i].c_str(), static_cast<int>(lines[i].size()));
}

// The player bar hangs from the bottom edge: boxes are given in units, x from
// the left, heights as distances up from the bottom.
struct Bar {
    HDC dc;
    int pixelHeight;
    void Box(int left, int upTop, int right, int upBottom, COLORREF colour) const {
        FillBox(dc, Px(left), pixelHeight - Px(upTop), Px(right), pixelHeight - Px(upBottom), colour);
    }
    // A small square centred on a point (x, up).
    void Dot(int x, int up, int radius, COLORREF colour) const {
        Box(x - radius, up + radius, x + radius + 1, up - radius - 1, colour);
    }
};

void PaintPlayerBar(HDC dc, const SimPlayer& p, int pixelWidth, int pixelHeight) {
    const COLORREF button = RGB(179, 179, 179);
    const Bar bar{dc, pixelHeight};
    const int w = p.width;  // units
    FillBox(dc, 0, pixelHeight - Px(90), pixelWidth, pixelHeight, RGB(24, 24, 24));
    bar.Dot(spotify::kPreviousX, spotify::kBarClickUp, 4, button);
    bar.Dot(spotify::kPlayPauseX, spotify::kBarClickUp, 6, p.playing ? RGB(255, 255, 255) : button);
    bar.Dot(spotify::kNextX, spotify::kBarClickUp, 4, button);
    bar.Dot(w - spotify::kShuffleFromRight, spotify::kBarClickUp, 4, p.shuffle ? RGB(30, 215, 96) : button);
    bar.Dot(w - spotify::kRepeatFromRight, spotify::kBarClickUp, 4, p.repeat ? RGB(30, 215, 96) : button);
    bar.Dot(spotify::kStarTargetX, spotify::kStarTargetUp, 3, RGB(120, 120, 120));
    // Probe points, drawn as small blocks so that they are seen on screen too.
    bar.Dot(spotify::kProbeAX, spotify::kProbeAUp, 2, SimProbeAColour(p));
    bar.Dot(spotify::kProbeBX, spotify::kProbeBUp, 2, SimProbeBColour(p));
    // Volume slider: the track, then the knob; only the knob has the knob colour.
    const int row = spotify::kKnobRowUp;
    bar.Box(spotify::kSliderClickFirstX, row + 1, spotify::kSliderClickLastX + 1, row - 2, RGB(83, 83, 83));
    bar.Box(spotify::kSliderClickFirstX, row, p.knobLeft, row - 1, RGB(29, 185, 84));
    if (!p.settings.knobHidden)
        bar.Box(p.knobLeft, row + 1, p.knobLeft + spotify::kKnobWidth, row - 2, p.settings.knobColour);
}

void Paint(HWND window, HDC dc) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    FillBox(dc, 0, 0, w, h, RGB(18, 18, 18));
    if (shell.player.splash) return;  // a splash window has no player bar
    PaintText(dc, shell.player);
    PaintPlayerBar(dc, shell.player, w, h);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HWND CreateMain(int width, int height) {
    const SimSettings& s = shell.player.settings;
    HWND w = CreateWindowExA(WS_EX_APPWINDOW, spotify::kMainWindowClass, shell.player.title.c_str(),
                             WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX | WS_SYSMENU, s.left, s.top, Px(width),
                             Px(height), nullptr, nullptr, shell.instance, nullptr);
    shell.shownTitle = shell.player.title;
    return w;
}

void CreateBanner(int width, int height) {
    if (!shell.main) return;
    const int w = shell.player.width, h = shell.player.height;  // units
    // Right banners at the right edge, bottom ones above the player bar.
    const int x = width == spotify::kBannerWidth ? w - width - 10 : 150;
    const int y = width == spotify::kBannerWidth ? 100 : h - 100 - height;
    HWND b = CreateWindowExA(0, kBannerClass, "Banner advert", WS_CHILD | WS_VISIBLE, Px(x), Px(y), Px(width),
                             Px(height), shell.main, nullptr, shell.instance, nullptr);
    shell.banners.push_back({b, false});
    SimRecord(shell.player, NowMs(),
              "banner created width=" + std::to_string(width) + " height=" + std::to_string(height));
}

void CreateFullScreen(int width, int height) {
    // Shown without activation: destroying an active window makes Wine wait
    // for the X server's focus change, seconds long without a window manager.
    HWND advert = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, spotify::kFullScreenAdvertClass,
                                  "Advertisement", WS_POPUP, Px(300), 0, Px(width), Px(height), nullptr, nullptr,
                                  shell.instance, nullptr);
    ShowWindow(advert, SW_SHOWNOACTIVATE);
    SimRecord(shell.player, NowMs(),
              "fullscreen created width=" + std::to_string(width) + " height=" + std::to_string(height));
}

void CarryOut(const SimEffect& e) {
    switch (e.kind) {
    case SimEffect::CreateBanner: CreateBanner(e.width, e.height); break;
    case SimEffect::CreateFullScreen: CreateFullScreen(e.width, e.height); break;
    case SimEffect::CloseMain:
        if (shell.main) DestroyWindow(shell.main);
        shell.main = nullptr;
        shell.banners.clear();
        break;
    case SimEffect::OpenMain: shell.main = CreateMain(e.width, e.height); break;
    case SimEffect::Resize:
        if (shell.main) SetWindowPos(shell.main, nullptr, 0, 0, Px(e.width), Px(e.height), SWP_NOMOVE | SWP_NOZORDER);
        break;
    case SimEffect::Exit:
        if (shell.main) PostMessageA(shell.main, WM_CLOSE, 0, 0);
        else PostQuitMessage(0);
        break;
    }
}

void WatchBanners() {
    for (Banner& b : shell.banners) {
        if (b.reparentSeen || !IsWindow(b.window)) continue;
        HWND parent = GetAncestor(b.window, GA_PARENT);
        if (parent == shell.main) continue;
        b.reparentSeen = true;
        char cls[128] = {}, title[128] = {};
        GetClassNameA(parent, cls, sizeof cls);
        GetWindowTextA(parent, title, sizeof title);
        SimRecord(shell.player, NowMs(), std::string("banner reparented parent=") + title);
    }
}

// Brings the windows and the record in line with the player.
void Sync() {
    SimPlayer& p = shell.player;
    WatchBanners();
    while (!p.effects.empty()) {
        std::vector<SimEffect> effects;
        effects.swap(p.effects);
        for (const SimEffect& e : effects) CarryOut(e);
    }
    if (shell.main &&
        (p.knobLeft != shell.shownKnob || p.paintedEntry != shell.shownEntry || p.playing != shell.shownPlaying)) {
        shell.shownKnob = p.knobLeft;
        shell.shownEntry = p.paintedEntry;
        shell.shownPlaying = p.playing;
        InvalidateRect(shell.main, nullptr, FALSE);
        UpdateWindow(shell.main);
    }
    // The title changes only once the pixels that go with it are on screen
    // (unless repaint-delay says otherwise: then paintedEntry lags).
    if (shell.main && p.title != shell.shownTitle) {
        // In Unicode, as the real client's title is: a reader sees it in its
        // own code page.
        SetWindowTextW(shell.main, WideFromUtf8(p.title).c_str());
        shell.shownTitle = p.title;
    }
    SaveVolume();
    if (p.events.empty()) return;
    for (const auto& e : p.events) std::fprintf(shell.events, "%lld %s\n", static_cast<long long>(e.first), e.second.c_str());
    std::fflush(shell.events);
    p.events.clear();
    WriteSummary(false);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    AdvanceSim(shell.player, NowMs());
    Sync();
}

// A click in pixels, as the player's units: x from the left, y as its
// distance from the bottom edge.
void OnClick(HWND window, int x, int y) {
    RECT r;
    GetWindowRect(window, &r);
    const int up = PixelsToUnits(r.bottom - r.top - y, shell.dpi);
    SimClick(shell.player, PixelsToUnits(x, shell.dpi), shell.player.height - up, NowMs());
    Sync();
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONUP:
        OnClick(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        SimKey(shell.player, static_cast<int>(wParam), NowMs());
        Sync();
        break;
    case WM_CLOSE:
        shell.exiting = true;
        SimRecord(shell.player, NowMs(), "exit");
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (shell.exiting) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// An advert window: a coloured panel with a caption.
void PaintPanel(HWND window, COLORREF colour, const char* caption) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    FillBox(dc, 0, 0, r.right, r.bottom, colour);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 10, 10, caption, static_cast<int>(std::strlen(caption)));
    EndPaint(window, &ps);
}

LRESULT CALLBACK BannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintPanel(window, RGB(80, 40, 160), "Banner advert");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintPanel(window, RGB(200, 60, 60), "Full-screen advert");
        return 0;
    case WM_CLOSE:
        SimRecord(shell.player, NowMs(), "fullscreen closed");
        DestroyWindow(window);
        SimRecord(shell.player, NowMs(), "fullscreen destroyed");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
    WNDCLASSA wc = {};
    wc.hInstance = shell.instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = spotify::kMainWindowClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = BannerProc;
    wc.lpszClassName = kBannerClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = FullScreenProc;
    wc.lpszClassName = spotify::kFullScreenAdvertClass;
    RegisterClassA(&wc);
}

std::string ArgumentOr(const char* name, const std::string& fallback) {
    for (int i = 1; i + 1 < __argc; ++i)
        if (std::string(__argv[i]) == name) return __argv[i + 1];
    return fallback;
}

SimScript LoadScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ParseSimScript(DefaultSimScript());
    std::stringstream text;
    text << in.rdbuf();
    return ParseSimScript(text.str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    shell.instance = instance;
    SetProcessDPIAware();
    shell.dpi = SystemDpi();
    QueryPerformanceFrequency(&shell.frequency);
    QueryPerformanceCounter(&shell.start);
    const std::string folder = ExeFolder();
    const std::string scriptPath = ArgumentOr("--script", folder + "playlist.txt");
    shell.summaryPath = ArgumentOr("--summary", folder + "summary.txt");
    shell.volumePath = ArgumentOr("--volume", folder + "volume.txt");
    shell.events = std::fopen(ArgumentOr("--events", folder + "events.log").c_str(), "wb");
    if (!shell.events) return 2;

    const SimScript script = LoadScript(scriptPath);
    StartSim(shell.player, script, NowMs());
    for (const std::string& error : script.errors) SimRecord(shell.player, NowMs(), "script-error " + error);
    RegisterClasses();
    shell.main = CreateMain(shell.player.width, shell.player.height);
    if (!shell.main) return 3;
    Sync();
    SetTimer(nullptr, 0, kTickMs, Tick);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    AdvanceSim(shell.player, NowMs());
    Sync();
    WriteSummary(true);
    std::fclose(shell.events);
    return 0;
}
