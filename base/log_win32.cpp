// The debug console: a real console window of the process.
#include <windows.h>

#include <cstdio>

#include "base/log.h"

namespace {

constexpr const char* kConsoleTitle = "Adquell Debug";
constexpr WORD kConsoleAttribute = 10;  // bright green on black

class StdoutConsole : public ConsoleOutput {
public:
    void Write(const std::string& text) override {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
};

StdoutConsole stdoutConsole;

// Without QuickEdit a click in the console starts no text selection, which
// would stop every write to it until the selection ends.
void SwitchOffQuickEdit() {
    HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    if (GetConsoleMode(input, &mode)) SetConsoleMode(input, (mode | ENABLE_EXTENDED_FLAGS) & ~ENABLE_QUICK_EDIT_MODE);
    CloseHandle(input);
}

void CreateDebugConsole(DebugLog& log) {
    // Results are not checked: without a console the shown lines are lost.
    AllocConsole();
    AttachConsole(GetCurrentProcessId());
    std::freopen("CON", "w", stdout);
    // The lines are the program's text (UTF-8 where Windows honours the
    // manifest): the console reads them so, not in the OEM code page.
    SetConsoleOutputCP(GetACP());
    SwitchOffQuickEdit();
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), kConsoleAttribute);
    log.consoleWindow = GetConsoleWindow();
    SetConsoleTitleA(kConsoleTitle);
    log.console = &stdoutConsole;
    log.consoleShown = true;
    LogLine("");
}

}  // namespace

void OpenDebugConsole() {
    DebugLog& log = TheDebugLog();
    if (!FindWindowA(nullptr, kConsoleTitle)) {
        CreateDebugConsole(log);
        return;
    }
    log.consoleShown = !log.consoleShown;
    HWND console = static_cast<HWND>(log.consoleWindow.load());
    if (log.consoleShown) {
        ShowWindow(console, SW_SHOW);
        LogLine("");
    } else {
        ShowWindow(console, SW_HIDE);
    }
}
