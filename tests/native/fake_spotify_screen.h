// A simulated Spotify window for the classifier: a title and a pixel map.
#pragma once
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "platform/spotify_screen.h"

class FakeSpotifyScreen : public SpotifyScreen {
public:
    std::string title;
    std::map<std::pair<int, int>, Colour> pixels;
    Colour background = 0x181818;
    bool captureFails = false;
    int captures = 0;
    int titleReads = 0;
    WindowHandle lastWindow = nullptr;
    int lastWidth = 0, lastHeight = 0;
    WindowScale scale;  // 96 DPI unless a test scales the window

    void Set(int x, int y, Colour c) { pixels[{x, y}] = c; }

    int ReadTitle(WindowHandle window, char* buffer, int size) override {
        ++titleReads;
        lastWindow = window;
        const int n = std::min<int>(static_cast<int>(title.size()), size - 1);
        std::memcpy(buffer, title.data(), static_cast<size_t>(n));
        buffer[n] = '\0';
        return n;
    }

    std::unique_ptr<WindowCapture> Capture(WindowHandle window, int width, int height) override {
        ++captures;
        lastWindow = window;
        lastWidth = width;
        lastHeight = height;
        return std::make_unique<Shot>(*this, width, height);
    }

    WindowScale Scale(WindowHandle) override { return scale; }

private:
    // A frozen copy, so a later change to the screen does not alter a capture.
    class Shot : public WindowCapture {
    public:
        Shot(const FakeSpotifyScreen& s, int w, int h)
            : pixels_(s.pixels), background_(s.background), failed_(s.captureFails), w_(w), h_(h) {}
        Colour PixelAt(int x, int y) const override {
            if (failed_ || x < 0 || y < 0 || x >= w_ || y >= h_) return kNoColour;
            auto it = pixels_.find({x, y});
            return it == pixels_.end() ? background_ : it->second;
        }

    private:
        std::map<std::pair<int, int>, Colour> pixels_;
        Colour background_;
        bool failed_;
        int w_, h_;
    };
};
