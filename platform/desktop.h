// The seam to the window system: other programs' windows as this program finds,
// measures, moves, activates and clicks them, and the screen they live on.
// Values of the show commands, position flags and messages are the Win32 ones.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

namespace win {
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwMinimize = 6;
constexpr int kSwRestore = 9;
constexpr unsigned kSwpNoSize = 0x0001;
constexpr unsigned kSwpNoActivate = 0x0010;
constexpr unsigned kSwpShowWindow = 0x0040;
const WindowHandle kHwndTop = nullptr;
const WindowHandle kHwndBottom = reinterpret_cast<WindowHandle>(1);
constexpr unsigned kWmClose = 0x0010;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmLButtonUp = 0x0202;
constexpr std::uintptr_t kMkLButton = 0x0001;
constexpr long kWsExLayered = 0x00080000;
}  // namespace win

class Desktop {
public:
    virtual ~Desktop() = default;

    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;

    // A top-level window by class (and title, when not null); null when none.
    virtual WindowHandle FindTopWindow(const char* windowClass, const char* title) = 0;
    // Every descendant of a window (EnumChildWindows), in the system's order.
    virtual std::vector<WindowHandle> Descendants(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual bool GetRect(WindowHandle window, WindowRect& rect) = 0;
    virtual void Show(WindowHandle window, int command) = 0;
    virtual void SetPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                        unsigned flags) = 0;
    // Returns the previous parent.
    virtual WindowHandle SetParent(WindowHandle window, WindowHandle parent) = 0;
    virtual WindowHandle Foreground() = 0;
    virtual bool SetForeground(WindowHandle window) = 0;
    virtual void Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    virtual long ExStyle(WindowHandle window) = 0;
    virtual void SetExStyle(WindowHandle window, long style) = 0;
    // Whether SetLayeredWindowAttributes exists on this system (looked up each time).
    virtual bool CanLayer() = 0;
    virtual void SetLayeredAlpha(WindowHandle window, unsigned char alpha) = 0;

    virtual unsigned ThreadOf(WindowHandle window) = 0;
    // The id of the process that owns a window; 0 when there is none.
    virtual std::uint32_t ProcessOf(WindowHandle window) = 0;
    virtual unsigned CurrentThread() = 0;
    virtual void AttachInput(unsigned from, unsigned to, bool attach) = 0;
    // One tap (press and release) of a key by virtual-key code.
    virtual void TapKey(unsigned char virtualKey) = 0;

    // Opens a program or address with the shell ("open"); the shell's result,
    // above 32 on success.
    virtual int ShellOpen(const std::string& target) = 0;
};
