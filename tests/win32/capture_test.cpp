// Captures of real windows: another process's (PrintWindow draws nothing there
// under Wine, so the screen copy must step in) and one of our own, parked
// out of sight where only PrintWindow can see it.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/text_helpers.h"
#include "blocking/advert_classifier.h"
#include "blocking/screen_probes.h"
#include "child_process.h"
#include "client/spotify_contract.h"
#include "platform/spotify_screen_win32.h"
#include "probe_painting.h"

namespace {

constexpr DWORD kWindowDeadlineMs = 20000;

void Measure(ApplicationState& app, HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    app.spotifyWindow = window;
    app.spotifyLeft = r.left;
    app.spotifyTop = r.top;
    app.spotifyWidth = r.right - r.left;
    app.spotifyHeight = r.bottom - r.top;
}

struct OtherProcess : ::testing::Test {
    ApplicationState app;
    Win32SpotifyScreen screen;
    HWND Start(ChildProcess& target) {
        if (!target.Started()) return nullptr;
        HWND window = WaitForWindow("AdquellProbeTarget", "Probe Target ready", kWindowDeadlineMs);
        if (window) Measure(app, window);
        app.currentTitle = "Spotify - Brand \xE2\x80\x93 Advert";
        return window;
    }
};

TEST_F(OtherProcess, ReadsTheAdvertPixelsAndTheKnob) {
    ChildProcess target("probe_target.exe", "150 828282 101010");
    HWND window = Start(target);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(app.spotifyWidth, 400);
    EXPECT_EQ(app.spotifyHeight, 300);
    EXPECT_EQ(ProbePixel(app, screen, spotify::kProbeAX, 300 - spotify::kProbeAUp), spotify::kProbeAGrey);
    EXPECT_EQ(ProbePixel(app, screen, spotify::kProbeBX, 300 - spotify::kProbeBUp), 0x101010u);
    EXPECT_EQ(ProbePixel(app, screen, 5, 5), RGB(24, 24, 24));
    EXPECT_TRUE(IsAdvertPlaying(app, screen));
    EXPECT_EQ(LocateVolumeKnob(app, screen), 150);
    EXPECT_EQ(app.spotifyVolume, 34);
}

TEST_F(OtherProcess, GreenVetoAndFullVolume) {
    ChildProcess target("probe_target.exe", "200 828282 C4FFC4");
    ASSERT_NE(Start(target), nullptr);
    EXPECT_EQ(ProbePixel(app, screen, spotify::kProbeBX, 300 - spotify::kProbeBUp), spotify::kProbeBGreen);
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
    EXPECT_EQ(LocateVolumeKnob(app, screen), 200);
    EXPECT_EQ(app.spotifyVolume, 100);
}

TEST_F(OtherProcess, ReadsTheTitle) {
    ChildProcess target("probe_target.exe", "150 828282 101010");
    ASSERT_NE(Start(target), nullptr);
    EXPECT_TRUE(IsSpotifyPlaying(app, screen));
    EXPECT_STREQ(app.probeTitleBuffer, "Probe Target ready");
}

// A Unicode title read into a buffer it does not fit: whatever the size, the
// bytes read are the start of its UTF-8, never half a character.
TEST_F(OtherProcess, ATitleCutByTheBufferEndsOnAWholeCharacter) {
    ChildProcess target("probe_target.exe", "150 828282 101010");
    HWND window = Start(target);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(SetWindowTextW(window, L"Spotify - \uAC00\uB098 \u2013 \U0001F3B5"));
    const std::string full = "Spotify - \xEA\xB0\x80\xEB\x82\x98 \xE2\x80\x93 \xF0\x9F\x8E\xB5";
    char buffer[64];
    ASSERT_EQ(screen.ReadTitle(window, buffer, sizeof buffer), static_cast<int>(full.size()));
    EXPECT_EQ(std::string(buffer), full);
    for (int size = 11; size <= static_cast<int>(full.size()); ++size) {
        const int length = screen.ReadTitle(window, buffer, size);
        const std::string read(buffer);
        EXPECT_EQ(length, static_cast<int>(read.size()));
        EXPECT_TRUE(IsUtf8(read)) << size;
        EXPECT_EQ(full.compare(0, read.size(), read), 0) << size;
        EXPECT_GE(read.size() + 4, static_cast<size_t>(size - 1)) << size;  // at most one character short
    }
}

TEST_F(OtherProcess, AWindowThatIsGoneReadsAsFailedCapture) {
    {
        ChildProcess target("probe_target.exe", "150 828282 101010");
        ASSERT_NE(Start(target), nullptr);
    }  // ended here
    EXPECT_EQ(ProbePixel(app, screen, spotify::kProbeAX, 300 - spotify::kProbeAUp), kNoColour);
    EXPECT_EQ(LocateVolumeKnob(app, screen), spotify::kKnobNotFoundX);
    EXPECT_FALSE(IsAdvertPlaying(app, screen));
    EXPECT_FALSE(IsSpotifyPlaying(app, screen));
}

TEST(NoWindow, NullWindowNeverCapturesTheScreen) {
    ApplicationState app;
    app.spotifyWidth = 400;
    app.spotifyHeight = 300;
    Win32SpotifyScreen screen;
    EXPECT_EQ(ProbePixel(app, screen, 5, 5), kNoColour);
    EXPECT_EQ(LocateVolumeKnob(app, screen), spotify::kKnobNotFoundX);
}

ProbeScene ownScene;

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PRINT || message == WM_PRINTCLIENT) {
        RECT r;
        GetWindowRect(window, &r);
        PaintProbeScene(reinterpret_cast<HDC>(wParam), r.right - r.left, r.bottom - r.top, ownScene);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(OwnWindow, PrintWindowSeesAWindowParkedOffScreen) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AdquellOwnProbe";
    RegisterClassA(&wc);
    ownScene.knobX = 162;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "own", WS_POPUP | WS_VISIBLE, -3000, -3000, 500, 400,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ApplicationState app;
    Measure(app, window);
    app.currentTitle = "Spotify - A \xE2\x80\x93 B";
    Win32SpotifyScreen screen;
    EXPECT_TRUE(IsAdvertPlaying(app, screen));
    EXPECT_EQ(LocateVolumeKnob(app, screen), 162);
    EXPECT_EQ(app.spotifyVolume, 50);
    DestroyWindow(window);
}

}  // namespace
