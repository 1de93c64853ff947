#include "platform/desktop_win32.h"

#include <windows.h>

#include <vector>

#include "platform/ansi_text.h"

namespace {

HWND H(WindowHandle w) {
    return static_cast<HWND>(w);
}

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

constexpr size_t kFirstProcessRoom = 512;
constexpr size_t kMaxProcessRoom = 1 << 20;

// SetLayeredWindowAttributes is looked up each time: older systems lack it.
template <typename Use>
bool WithSetLayered(Use use) {
    HMODULE user32 = LoadLibraryA("user32.dll");
    if (!user32) return false;
    auto fn = reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    if (fn) use(fn);
    FreeLibrary(user32);
    return fn != nullptr;
}

}  // namespace

int Win32Desktop::ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int Win32Desktop::ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

WindowHandle Win32Desktop::FindTopWindow(const char* windowClass, const char* title) {
    return FindWindowA(windowClass, title);
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

std::vector<WindowHandle> Win32Desktop::Descendants(WindowHandle window) {
    std::vector<WindowHandle> children;
    if (window) EnumChildWindows(H(window), CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool Win32Desktop::IsWindow(WindowHandle window) {
    return window && ::IsWindow(H(window));
}

bool Win32Desktop::IsIconic(WindowHandle window) {
    return ::IsIconic(H(window));
}

bool Win32Desktop::IsVisible(WindowHandle window) {
    return IsWindowVisible(H(window));
}

bool Win32Desktop::GetRect(WindowHandle window, WindowRect& rect) {
    RECT r;
    if (!window || !GetWindowRect(H(window), &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

void Win32Desktop::Show(WindowHandle window, int command) {
    ShowWindow(H(window), command);
}

void Win32Desktop::SetPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                          unsigned flags) {
    SetWindowPos(H(window), H(insertAfter), x, y, width, height, flags);
}

WindowHandle Win32Desktop::SetParent(WindowHandle window, WindowHandle parent) {
    return ::SetParent(H(window), H(parent));
}

WindowHandle Win32Desktop::Foreground() {
    return GetForegroundWindow();
}

bool Win32Desktop::SetForeground(WindowHandle window) {
    return SetForegroundWindow(H(window));
}

void Win32Desktop::Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    PostMessageA(H(window), message, wParam, lParam);
}

long Win32Desktop::ExStyle(WindowHandle window) {
    return GetWindowLongA(H(window), GWL_EXSTYLE);
}

void Win32Desktop::SetExStyle(WindowHandle window, long style) {
    SetWindowLongA(H(window), GWL_EXSTYLE, style);
}

bool Win32Desktop::CanLayer() {
    return WithSetLayered([](SetLayeredFn) {});
}

void Win32Desktop::SetLayeredAlpha(WindowHandle window, unsigned char alpha) {
    WithSetLayered([&](SetLayeredFn fn) { fn(H(window), 0, alpha, LWA_ALPHA); });
}

unsigned Win32Desktop::ThreadOf(WindowHandle window) {
    return GetWindowThreadProcessId(H(window), nullptr);
}

std::uint32_t Win32Desktop::ProcessOf(WindowHandle window) {
    DWORD process = 0;
    if (!GetWindowThreadProcessId(H(window), &process)) return 0;
    return process;
}

unsigned Win32Desktop::CurrentThread() {
    return GetCurrentThreadId();
}

void Win32Desktop::AttachInput(unsigned from, unsigned to, bool attach) {
    AttachThreadInput(from, to, attach);
}

void Win32Desktop::TapKey(unsigned char virtualKey) {
    const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(virtualKey, 0));
    keybd_event(virtualKey, scan, 0, 0);
    keybd_event(virtualKey, scan, KEYEVENTF_KEYUP, 0);
}

int Win32Desktop::ShellOpen(const std::string& target) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)));
}

void Win32Clock::Sleep(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

std::uint64_t Win32Clock::NowMs() {
    return GetTickCount64();
}

Win32System::~Win32System() {
    if (psapi_) FreeLibrary(static_cast<HMODULE>(psapi_));
}

// These two ask in wide text: the sizes the ...A forms report count
// characters, not the bytes a UTF-8 path takes, and the text came back cut.
std::string Win32System::WorkingDirectory() {
    // Any length the system reports, not only paths under 1024 bytes.
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> buffer(size + 1);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return NarrowAnsi(std::wstring(buffer.data(), length < buffer.size() ? length : 0));
}

std::string Win32System::ExpandEnvironment(const std::string& text) {
    const std::wstring wide = WidenAnsi(text);
    const DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    std::vector<wchar_t> buffer(size + 1);
    ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return NarrowAnsi(buffer.data());
}

bool Win32System::PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32System::LoadProcessStatus() {
    if (psapi_) return true;
    HMODULE lib = LoadLibraryA("psapi.dll");
    if (!lib) return false;
    enumProcesses_ = reinterpret_cast<void*>(GetProcAddress(lib, "EnumProcesses"));
    enumProcessModules_ = reinterpret_cast<void*>(GetProcAddress(lib, "EnumProcessModules"));
    getModuleBaseName_ = reinterpret_cast<void*>(GetProcAddress(lib, "GetModuleBaseNameA"));
    if (!enumProcesses_ || !enumProcessModules_ || !getModuleBaseName_) {
        FreeLibrary(lib);
        return false;
    }
    psapi_ = lib;
    return true;
}

bool Win32System::EnumerateProcesses(std::vector<std::uint32_t>& ids) {
    if (!LoadProcessStatus()) return false;
    // A full list may have been cut short: ask again with room for twice as many.
    std::vector<DWORD> found(kFirstProcessRoom);
    for (;;) {
        DWORD bytes = 0;
        const DWORD room = static_cast<DWORD>(found.size() * sizeof(DWORD));
        if (!reinterpret_cast<EnumProcessesFn>(enumProcesses_)(found.data(), room, &bytes)) return false;
        if (bytes < room || found.size() >= kMaxProcessRoom) {
            ids.assign(found.begin(), found.begin() + bytes / sizeof(DWORD));
            return true;
        }
        found.resize(found.size() * 2);
    }
}

bool Win32System::ProcessImageName(std::uint32_t id, std::string& name) {
    if (!LoadProcessStatus()) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) return false;
    HMODULE module = nullptr;
    DWORD needed = 0;
    char base[MAX_PATH] = {};
    bool ok = reinterpret_cast<EnumProcessModulesFn>(enumProcessModules_)(process, &module, sizeof module, &needed) &&
              reinterpret_cast<GetModuleBaseNameFn>(getModuleBaseName_)(process, module, base, sizeof base) > 0;
    CloseHandle(process);
    if (ok) name = base;
    return ok;
}

bool Win32System::TerminateProcess(std::uint32_t id) {
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
    if (!process) return false;
    const bool ok = ::TerminateProcess(process, 0);
    CloseHandle(process);
    return ok;
}
