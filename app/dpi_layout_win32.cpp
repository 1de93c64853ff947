#include "app/dpi_layout_win32.h"

#include "platform/handles_win32.h"
#include "platform/label_font.h"
#include "platform/spotify_screen_win32.h"

#include <map>
#include <vector>

namespace {

struct PlacedControl {
    HWND control;
    RECT units;
};

std::vector<PlacedControl>& Placed() {
    static std::vector<PlacedControl> placed;
    return placed;
}

}  // namespace

int ScaleToDpi(int units, int dpi) {
    return MulDiv(units, dpi, 96);
}

HWND CreateScaledControl(HWND parent, HINSTANCE instance, const char* cls, const char* caption, DWORD style, int id,
                         int x, int y, int w, int h) {
    const int dpi = WindowDpi(parent);
    HWND control = CreateWindowExA(0, cls, caption, WS_CHILD | WS_VISIBLE | style, ScaleToDpi(x, dpi),
                                   ScaleToDpi(y, dpi), ScaleToDpi(w, dpi), ScaleToDpi(h, dpi), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control) Placed().push_back({control, {x, y, x + w, y + h}});
    return control;
}

HFONT FontAtDpi(int dpi, bool underlined) {
    static std::map<std::pair<int, bool>, OwnedFont> fonts;
    OwnedFont& font = fonts[{dpi, underlined}];
    if (!font)
        font.reset(CreateFontA(-ScaleToDpi(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               kDialogFace));
    return font.get();
}

void OnWindowDpiChanged(HWND window, int dpi, const RECT& suggested, HWND skipFont, HWND underlinedControl) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const PlacedControl& p : Placed()) {
        if (GetParent(p.control) != window) continue;
        const RECT& u = p.units;
        SetWindowPos(p.control, nullptr, ScaleToDpi(u.left, dpi), ScaleToDpi(u.top, dpi),
                     ScaleToDpi(u.right - u.left, dpi), ScaleToDpi(u.bottom - u.top, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (p.control == skipFont) continue;
        const bool underlined = p.control == underlinedControl;
        SendMessageA(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(FontAtDpi(dpi, underlined)), TRUE);
    }
}
