// Spotify's window read through Win32: GetWindowTextA and window captures.
#pragma once
#include <windows.h>

#include "platform/spotify_screen.h"

// The system's DPI, and a window's (GetDpiForWindow where Windows has it, from
// Windows 10 version 1607 on; the system's before that).
int SystemDpi();
int WindowDpi(HWND window);

class Win32SpotifyScreen : public SpotifyScreen {
public:
    int ReadTitle(WindowHandle window, char* buffer, int size) override;
    std::unique_ptr<WindowCapture> Capture(WindowHandle window, int width, int height) override;
    WindowScale Scale(WindowHandle window) override;
};
