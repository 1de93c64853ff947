// The window system through user32 and the shell.
#pragma once
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/system.h"

class Win32Desktop : public Desktop {
public:
    int ScreenWidth() override;
    int ScreenHeight() override;
    WindowHandle FindTopWindow(const char* windowClass, const char* title) override;
    std::vector<WindowHandle> Descendants(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    bool IsVisible(WindowHandle window) override;
    bool GetRect(WindowHandle window, WindowRect& rect) override;
    void Show(WindowHandle window, int command) override;
    void SetPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                unsigned flags) override;
    WindowHandle SetParent(WindowHandle window, WindowHandle parent) override;
    WindowHandle Foreground() override;
    bool SetForeground(WindowHandle window) override;
    void Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    long ExStyle(WindowHandle window) override;
    void SetExStyle(WindowHandle window, long style) override;
    bool CanLayer() override;
    void SetLayeredAlpha(WindowHandle window, unsigned char alpha) override;
    unsigned ThreadOf(WindowHandle window) override;
    std::uint32_t ProcessOf(WindowHandle window) override;
    unsigned CurrentThread() override;
    void AttachInput(unsigned from, unsigned to, bool attach) override;
    void TapKey(unsigned char virtualKey) override;
    int ShellOpen(const std::string& target) override;
};

class Win32Clock : public Clock {
public:
    void Sleep(int milliseconds) override;
    std::uint64_t NowMs() override;
};

class Win32System : public System {
public:
    ~Win32System() override;
    std::string WorkingDirectory() override;
    std::string ExpandEnvironment(const std::string& text) override;
    bool PathExists(const std::string& path) override;
    bool EnumerateProcesses(std::vector<std::uint32_t>& ids) override;
    bool ProcessImageName(std::uint32_t id, std::string& name) override;
    bool TerminateProcess(std::uint32_t id) override;

private:
    bool LoadProcessStatus();
    void* psapi_ = nullptr;
    void* enumProcesses_ = nullptr;
    void* enumProcessModules_ = nullptr;
    void* getModuleBaseName_ = nullptr;
};
