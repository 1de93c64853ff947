#include "sim_desktop.h"

#include <filesystem>

#include "client/spotify_contract.h"

namespace {

std::string Hex(WindowHandle w) {
    char text[32];
    std::snprintf(text, sizeof text, "%#lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(w)));
    return text;
}

class SimCapture : public WindowCapture {
public:
    bool failed = true;
    int width = 0, height = 0;
    Colour probeA = 0, probeB = 0;
    int knobLeft = 0;
    Colour knobColour = spotify::kKnobColour;
    bool knobHidden = false;
    Colour PixelAt(int x, int y) const override {
        if (failed || x < 0 || y < 0 || x >= width || y >= height) return kNoColour;
        if (x == spotify::kProbeAX && y == height - spotify::kProbeAUp) return probeA;
        if (x == spotify::kProbeBX && y == height - spotify::kProbeBUp) return probeB;
        if (!knobHidden && y == height - spotify::kKnobRowUp && x >= knobLeft && x < knobLeft + spotify::kKnobWidth)
            return knobColour;
        return 0x121212;
    }
};

}  // namespace

WindowHandle SimDesktop::AddWindow(const SimWindow& w) {
    WindowHandle h = reinterpret_cast<WindowHandle>(nextHandle_);
    nextHandle_ += 0x10;
    windows[h] = w;
    return h;
}

WindowHandle SimDesktop::StartClient(const std::string& script, int left, int top) {
    StartSim(player, ParseSimScript(script), static_cast<std::int64_t>(now));
    SimWindow w;
    w.windowClass = spotify::kMainWindowClass;
    w.rect = {left, top, left + player.width, top + player.height};
    w.thread = 7;
    spotify = AddWindow(w);
    return spotify;
}

void SimDesktop::CloseWindow(WindowHandle w) {
    windows.erase(w);
    if (foreground == w) foreground = nullptr;
}

int SimDesktop::Clicks(int x, int y) const {
    int n = 0;
    for (const auto& c : clicks) n += c.first == x && c.second == y;
    return n;
}

WindowHandle SimDesktop::FindTopWindow(const char* windowClass, const char* title) {
    for (auto& [h, w] : windows) {
        if (w.parent || w.windowClass != windowClass) continue;
        if (title && (h == spotify ? player.title : w.title) != title) continue;
        return h;
    }
    return nullptr;
}

std::vector<WindowHandle> SimDesktop::Descendants(WindowHandle w) {
    enumerated.push_back(w);
    std::vector<WindowHandle> found;
    for (auto& [h, s] : windows) {
        for (WindowHandle p = s.parent; p; p = windows.count(p) ? windows[p].parent : nullptr) {
            if (p != w) continue;
            found.push_back(h);
            break;
        }
    }
    return found;
}

bool SimDesktop::IsIconic(WindowHandle w) {
    windowQuestions += w == spotify;
    auto it = windows.find(w);
    return it != windows.end() && it->second.iconic;
}

bool SimDesktop::IsVisible(WindowHandle w) {
    windowQuestions += w == spotify;
    auto it = windows.find(w);
    return it != windows.end() && it->second.visible;
}

bool SimDesktop::GetRect(WindowHandle w, WindowRect& rect) {
    windowQuestions += w == spotify;
    auto it = windows.find(w);
    if (it == windows.end()) return false;
    rect = it->second.rect;
    return true;
}

void SimDesktop::Show(WindowHandle w, int command) {
    auto it = windows.find(w);
    if (it == windows.end()) return;
    journal.push_back("show " + std::to_string(command));
    SimWindow& s = it->second;
    if (command == win::kSwHide) s.visible = false;
    else if (command == win::kSwMinimize) s.iconic = true;
    else {
        s.visible = true;
        s.iconic = false;
    }
}

void SimDesktop::SetPos(WindowHandle w, WindowHandle after, int x, int y, int width, int height, unsigned flags) {
    auto it = windows.find(w);
    if (it == windows.end()) return;
    journal.push_back("pos " + std::to_string(x) + "," + std::to_string(y) + (after == win::kHwndBottom ? " bottom" : " top") +
                      " flags=" + std::to_string(flags));
    WindowRect& r = it->second.rect;
    const int cw = (flags & win::kSwpNoSize) ? r.Width() : width;
    const int ch = (flags & win::kSwpNoSize) ? r.Height() : height;
    r = {x, y, x + cw, y + ch};
    if (flags & win::kSwpShowWindow) it->second.visible = true;
}

WindowHandle SimDesktop::SetParent(WindowHandle w, WindowHandle parent) {
    auto it = windows.find(w);
    if (it == windows.end()) return nullptr;
    journal.push_back("parent " + Hex(parent));
    WindowHandle previous = it->second.parent;
    it->second.parent = parent;
    return previous;
}

bool SimDesktop::SetForeground(WindowHandle w) {
    journal.push_back("foreground " + Hex(w));
    if (refuseForeground > 0) {
        --refuseForeground;
        return false;
    }
    if (!IsWindow(w)) return false;
    foreground = w;
    return true;
}

void SimDesktop::Post(WindowHandle w, unsigned message, std::uintptr_t, std::intptr_t lParam) {
    if (w != spotify && IsWindow(w)) posted.emplace_back(w, message);
    if (w != spotify || !IsWindow(w)) return;
    if (message == win::kWmLButtonDown) {
        pressed_ = lParam;
        return;
    }
    if (message != win::kWmLButtonUp || pressed_ != lParam) return;
    pressed_ = -1;
    const int x = static_cast<short>(lParam & 0xFFFF), y = static_cast<short>((lParam >> 16) & 0xFFFF);
    clicks.emplace_back(x, y);
    if (dropClick && dropClick(x, y)) return;
    SimClick(player, x, y, static_cast<std::int64_t>(now));
}

long SimDesktop::ExStyle(WindowHandle w) {
    auto it = windows.find(w);
    return it == windows.end() ? 0 : it->second.exStyle;
}

void SimDesktop::SetExStyle(WindowHandle w, long style) {
    auto it = windows.find(w);
    if (it == windows.end()) return;
    journal.push_back(std::string("layered ") + ((style & win::kWsExLayered) ? "on" : "off"));
    it->second.exStyle = style;
}

void SimDesktop::SetLayeredAlpha(WindowHandle w, unsigned char alpha) {
    auto it = windows.find(w);
    if (it == windows.end()) return;
    journal.push_back("alpha " + std::to_string(alpha));
    it->second.alpha = alpha;
}

unsigned SimDesktop::ThreadOf(WindowHandle w) {
    auto it = windows.find(w);
    return it == windows.end() ? 0 : it->second.thread;
}

std::uint32_t SimDesktop::ProcessOf(WindowHandle w) {
    auto it = windows.find(w);
    return it == windows.end() ? 0 : it->second.process;
}

void SimDesktop::AttachInput(unsigned from, unsigned to, bool attach) {
    journal.push_back((attach ? "attach " : "detach ") + std::to_string(from) + ">" + std::to_string(to));
}

void SimDesktop::TapKey(unsigned char vk) {
    journal.push_back("tap " + std::to_string(vk));
}

int SimDesktop::ShellOpen(const std::string& target) {
    launched.push_back(target);
    if (onLaunch) onLaunch();
    return launchResult;
}

void SimDesktop::Sleep(int ms) {
    now += static_cast<std::uint64_t>(ms);
    AdvanceSim(player, static_cast<std::int64_t>(now));
}

void SimDesktop::ReadingSpotify() {
    if (!whileReading) return;
    auto happen = std::move(whileReading);
    whileReading = nullptr;
    happen();
}

int SimDesktop::ReadTitle(WindowHandle w, char* buffer, int size) {
    ReadingSpotify();
    std::string title;
    auto it = windows.find(w);
    if (it != windows.end()) title = w == spotify ? player.title : it->second.title;
    const int n = std::min(static_cast<int>(title.size()), size - 1);
    std::copy(title.begin(), title.begin() + n, buffer);
    buffer[n] = '\0';
    return n;
}

std::unique_ptr<WindowCapture> SimDesktop::Capture(WindowHandle w, int width, int height) {
    ReadingSpotify();
    ++captures;
    auto shot = std::make_unique<SimCapture>();
    if (w == spotify && IsWindow(w) && !captureFails) {
        shot->failed = false;
        shot->width = width;
        shot->height = height;
        shot->probeA = SimProbeAColour(player);
        shot->probeB = SimProbeBColour(player);
        shot->knobLeft = player.knobLeft;
        shot->knobColour = player.settings.knobColour;
        shot->knobHidden = player.settings.knobHidden;
        if (captureShowsDesktop) {
            shot->probeA = shot->probeB = 0;
            shot->knobHidden = true;
        }
    }
    return shot;
}

WindowScale SimDesktop::Scale(WindowHandle w) {
    WindowScale scale;
    WindowRect r;
    if (GetRect(w, r)) {
        scale.pixelWidth = r.Width();
        scale.pixelHeight = r.Height();
    }
    return scale;
}

std::string SimDesktop::ExpandEnvironment(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
        auto var = end == std::string::npos ? environment.end() : environment.find(text.substr(i + 1, end - i - 1));
        if (var != environment.end()) {
            out += var->second;
            i = end + 1;
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool SimDesktop::PathExists(const std::string& path) {
    return std::filesystem::exists(path);
}

bool SimDesktop::EnumerateProcesses(std::vector<std::uint32_t>& ids) {
    if (!processesEnumerable) return false;
    ids.clear();
    for (const auto& p : processes) ids.push_back(p.first);
    return true;
}

bool SimDesktop::ProcessImageName(std::uint32_t id, std::string& name) {
    for (const auto& p : processes)
        if (p.first == id && !p.second.empty()) {
            name = p.second;
            return true;
        }
    return false;
}

bool SimDesktop::TerminateProcess(std::uint32_t id) {
    terminated.push_back(id);
    return true;
}
