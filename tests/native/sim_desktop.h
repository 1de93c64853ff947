// A simulated desktop for the native tests: a window table, a virtual clock,
// and the simulated Spotify client (the same player model the Wine tests run),
// whose knob and title follow the clicks posted to its window.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/spotify_screen.h"
#include "platform/system.h"
#include "sim_player.h"

struct SimWindow {
    std::string windowClass;
    std::string title;
    WindowRect rect;
    bool visible = true;
    bool iconic = false;
    WindowHandle parent = nullptr;
    long exStyle = 0;
    int alpha = -1;  // -1: never set
    unsigned thread = 1;
    std::uint32_t process = 1;
};

class SimDesktop : public Desktop, public Clock, public SpotifyScreen, public System {
public:
    // Windows and input.
    std::map<WindowHandle, SimWindow> windows;
    WindowHandle foreground = nullptr;
    int refuseForeground = 0;  // how many SetForeground calls fail first
    bool layeredAvailable = true;
    int screenWidth = 1280;
    int screenHeight = 1024;
    std::vector<std::string> journal;  // every change made, in order
    // Drops a click on Spotify before it arrives (x, y window-relative).
    std::function<bool(int, int)> dropClick;
    // Happens once, the next time the program reads Spotify's title or pixels:
    // what the user or Windows does while the program waits on Spotify (a
    // message sent to the program is taken there).
    std::function<void()> whileReading;

    // The simulated client.
    SimPlayer player;
    WindowHandle spotify = nullptr;
    int captures = 0;
    int windowQuestions = 0;  // asked of Spotify's window: exists, minimised, visible, rectangle, scale
    bool captureFails = false;        // Spotify's window cannot be read at all
    bool captureShowsDesktop = false;  // a copy of the screen where the window is not (minimised, off-screen)

    // Time.
    std::uint64_t now = 0;

    // System.
    std::string workingDirectory = "/tmp";
    std::map<std::string, std::string> environment;
    bool processesEnumerable = true;
    std::vector<std::pair<std::uint32_t, std::string>> processes;
    std::vector<std::uint32_t> terminated;
    std::vector<std::string> launched;
    int launchResult = 42;
    std::function<void()> onLaunch;  // what the started program finds, looked at as it starts

    WindowHandle AddWindow(const SimWindow& w);
    // Starts the simulated client with a playlist script; its window is
    // 800 x 600 at (left, top) unless the script says otherwise.
    WindowHandle StartClient(const std::string& script, int left = 100, int top = 50);
    void CloseWindow(WindowHandle w);
    int Clicks(int x, int y) const;  // clicks that reached Spotify at that point
    std::vector<std::pair<int, int>> clicks;
    std::vector<std::pair<WindowHandle, unsigned>> posted;  // to windows other than Spotify's

    // Desktop.
    int ScreenWidth() override { return screenWidth; }
    int ScreenHeight() override { return screenHeight; }
    WindowHandle FindTopWindow(const char* windowClass, const char* title) override;
    std::vector<WindowHandle> Descendants(WindowHandle w) override;
    std::vector<WindowHandle> enumerated;  // windows whose descendants were asked for
    bool IsWindow(WindowHandle w) override {
        windowQuestions += w == spotify;
        return windows.count(w) != 0;
    }
    bool IsIconic(WindowHandle w) override;
    bool IsVisible(WindowHandle w) override;
    bool GetRect(WindowHandle w, WindowRect& rect) override;
    void Show(WindowHandle w, int command) override;
    void SetPos(WindowHandle w, WindowHandle after, int x, int y, int width, int height, unsigned flags) override;
    WindowHandle SetParent(WindowHandle w, WindowHandle parent) override;
    WindowHandle Foreground() override { return foreground; }
    bool SetForeground(WindowHandle w) override;
    void Post(WindowHandle w, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    long ExStyle(WindowHandle w) override;
    void SetExStyle(WindowHandle w, long style) override;
    bool CanLayer() override { return layeredAvailable; }
    void SetLayeredAlpha(WindowHandle w, unsigned char alpha) override;
    unsigned ThreadOf(WindowHandle w) override;
    std::uint32_t ProcessOf(WindowHandle w) override;
    unsigned CurrentThread() override { return 100; }
    void AttachInput(unsigned from, unsigned to, bool attach) override;
    void TapKey(unsigned char vk) override;
    int ShellOpen(const std::string& target) override;

    // Clock.
    void Sleep(int ms) override;
    std::uint64_t NowMs() override { return now; }

    // Spotify's screen.
    int ReadTitle(WindowHandle w, char* buffer, int size) override;
    std::unique_ptr<WindowCapture> Capture(WindowHandle w, int width, int height) override;
    WindowScale Scale(WindowHandle w) override;

    // System.
    std::string WorkingDirectory() override { return workingDirectory; }
    std::string ExpandEnvironment(const std::string& text) override;
    bool PathExists(const std::string& path) override;
    bool EnumerateProcesses(std::vector<std::uint32_t>& ids) override;
    bool ProcessImageName(std::uint32_t id, std::string& name) override;
    bool TerminateProcess(std::uint32_t id) override;

private:
    void ReadingSpotify();
    std::uintptr_t nextHandle_ = 0x1000;
    std::intptr_t pressed_ = -1;
};
