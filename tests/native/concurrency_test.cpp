// The login watcher's thread against detection ticks on the one shared
// application object, as in the program. Run under ThreadSanitizer by the
// test command: a data race there fails the run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "base/log.h"
#include "blocking/detection_loop.h"
#include "blocking/login_watcher.h"
#include "fake_main_controls.h"
#include "fake_media_graph.h"
#include "keys/key_sequence.h"
#include "fake_installer.h"
#include "recording_keyboard.h"
#include "recording_registrar.h"
#include "music/filler_player.h"

namespace {

// A desktop whose only changing things are atomics, so that both threads can
// use it at once: Spotify's window comes and goes, and changes size and title.
class SharedDesktop : public Desktop, public Clock, public SpotifyScreen, public System {
public:
    WindowHandle const main = reinterpret_cast<WindowHandle>(0x10);
    WindowHandle const spotify = reinterpret_cast<WindowHandle>(0x20);
    std::atomic<bool> spotifyOpen{true};
    std::atomic<bool> mainOpen{true};
    std::atomic<int> size{0};
    std::atomic<int> titleFlip{0};

    int ScreenWidth() override { return 1280; }
    int ScreenHeight() override { return 1024; }
    WindowHandle FindTopWindow(const char*, const char*) override { return spotifyOpen ? spotify : nullptr; }
    std::vector<WindowHandle> Descendants(WindowHandle) override { return {}; }
    bool IsWindow(WindowHandle w) override { return (w == spotify && spotifyOpen) || (w == main && mainOpen); }
    bool IsIconic(WindowHandle) override { return false; }
    bool IsVisible(WindowHandle w) override { return IsWindow(w); }
    bool GetRect(WindowHandle w, WindowRect& r) override {
        if (!IsWindow(w)) return false;
        r = size % 2 ? WindowRect{0, 0, 900, 700} : WindowRect{0, 0, 800, 600};
        return true;
    }
    void Show(WindowHandle, int) override {}
    void SetPos(WindowHandle, WindowHandle, int, int, int, int, unsigned) override {}
    WindowHandle SetParent(WindowHandle, WindowHandle) override { return nullptr; }
    WindowHandle Foreground() override { return main; }
    bool SetForeground(WindowHandle) override { return true; }
    void Post(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override {}
    long ExStyle(WindowHandle) override { return 0; }
    void SetExStyle(WindowHandle, long) override {}
    bool CanLayer() override { return true; }
    void SetLayeredAlpha(WindowHandle, unsigned char) override {}
    unsigned ThreadOf(WindowHandle) override { return 1; }
    std::uint32_t ProcessOf(WindowHandle) override { return 1; }
    unsigned CurrentThread() override { return 2; }
    void AttachInput(unsigned, unsigned, bool) override {}
    void TapKey(unsigned char) override {}
    int ShellOpen(const std::string&) override { return 42; }

    void Sleep(int) override { std::this_thread::yield(); }
    std::uint64_t NowMs() override { return 0; }

    int ReadTitle(WindowHandle w, char* buffer, int n) override {
        const char* title = !IsWindow(w) ? "" : titleFlip % 2 ? "Spotify - A \xE2\x80\x93 One" : "Spotify - B \xE2\x80\x93 Two";
        std::strncpy(buffer, title, static_cast<size_t>(n - 1));
        buffer[n - 1] = '\0';
        return static_cast<int>(std::strlen(buffer));
    }
    WindowScale Scale(WindowHandle) override { return WindowScale{}; }
    std::unique_ptr<WindowCapture> Capture(WindowHandle, int, int) override {
        struct Nothing : WindowCapture {
            Colour PixelAt(int, int) const override { return kNoColour; }
        };
        return std::make_unique<Nothing>();
    }

    std::string WorkingDirectory() override { return "."; }
    std::string ExpandEnvironment(const std::string& t) override { return t; }
    bool PathExists(const std::string&) override { return false; }
    bool EnumerateProcesses(std::vector<std::uint32_t>&) override { return false; }
    bool ProcessImageName(std::uint32_t, std::string&) override { return false; }
    bool TerminateProcess(std::uint32_t) override { return false; }
};

class AtomicTimers : public AdvertTimers {
public:
    std::atomic<int> stops{0}, starts{0};
    void Stop() override { ++stops; }
    void Start() override { ++starts; }
};

class NoFolders : public FolderListing {
public:
    bool List(const std::wstring&, std::vector<FolderEntry>&) override { return false; }
    std::string RealFolder(const std::wstring&) override { return std::string(); }
};

TEST(Concurrency, WatcherAndTicksShareTheApplicationState) {
    SharedDesktop desk;
    FakeMainControls controls;
    FakeMediaGraph graph;
    FillerPlayer filler(graph);
    NoFolders folders;
    RecordingKeyboard keyboard;
    KeySequence keys(keyboard, desk);
    RecordingRegistrar registrar;
    FakeInstaller installer;
    Platform os{desk, desk, desk, desk, folders, controls, filler, keys, registrar, installer, ProgramWindows{}};
    os.windows.main = desk.main;
    ApplicationState app;
    app.optionsPath = "/nonexistent/Options.ini";
    AtomicTimers timers;
    std::atomic<bool> stop{false};
    std::atomic<int> badSizes{0};

    std::thread watcher([&] {
        LoginWatcher w;
        while (LoginWatcherStep(app, os, w, timers) > 0 && !stop) std::this_thread::yield();
    });
    std::thread ui([&] {
        for (int i = 0; i < 3000; ++i) {
            DetectionTick(app, os);
            const int width = app.spotifyWidth, height = app.spotifyHeight;
            if ((width != 0 && width != 800 && width != 900) || (height != 0 && height != 600 && height != 700))
                ++badSizes;
        }
    });
    for (int i = 0; i < 200; ++i) {
        desk.spotifyOpen = i % 20 < 15;
        ++desk.size;
        ++desk.titleFlip;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    desk.spotifyOpen = true;
    ui.join();
    desk.mainOpen = false;
    watcher.join();
    EXPECT_EQ(badSizes, 0);
    EXPECT_GE(timers.stops.load(), timers.starts.load());
    TheDebugLog().logBacklog.clear();
}

}  // namespace
