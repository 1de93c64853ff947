// Spotify's window read through Win32: GetWindowTextA and window captures.
#pragma once
#include "platform/spotify_screen.h"

class Win32SpotifyScreen : public SpotifyScreen {
public:
    int ReadTitle(WindowHandle window, char* buffer, int size) override;
    std::unique_ptr<WindowCapture> Capture(WindowHandle window, int width, int height) override;
    WindowScale Scale(WindowHandle window) override;
};
