// Stands in for the program in the install, update and removal tests.
//   install_driver install MESSAGES LOG   runs InstallOrUpdate; message boxes
//                                         are appended to MESSAGES instead of
//                                         shown, the log goes to LOG, and after
//                                         an update check what the tray shows
//                                         to MESSAGES.tray
//   install_driver remove ANSWERS MESSAGES [HOLD_MS]
//                                         runs the removal; questions are
//                                         answered in turn by the letters of
//                                         ANSWERS (y or n) and recorded too;
//                                         a message stays "open" HOLD_MS
//   install_driver /delete-after ...      the removal's helper, as in the program
//   install_driver                        (as the started copy) leaves a
//                                         marker file "<own path>.started"
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "base/log.h"
#include "install/removal.h"
#include "install/removal_win32.h"
#include "install/self_install.h"
#include "platform/installer_system_win32.h"
#include "platform/signature_check_win32.h"
#include "app/win32_platform.h"

namespace {

std::string messagesFile;
std::string logFile;
std::string answers;
DWORD messageHoldMs = 0;

void WriteLog() {
    std::ofstream(logFile, std::ios::binary) << TheDebugLog().logBacklog;
}

class AnsweredInstaller : public Win32InstallerSystem {
public:
    void ShowMessage(const std::string& text) override {
        std::ofstream(messagesFile, std::ios::binary | std::ios::app) << text << "\n---\n";
        Sleep(messageHoldMs);  // as a user who leaves the box open
    }
    bool Ask(const std::string& question) override {
        const bool yes = !answers.empty() && answers[0] == 'y';
        if (!answers.empty()) answers.erase(0, 1);
        std::ofstream(messagesFile, std::ios::binary | std::ios::app) << "? " << question << (yes ? " y" : " n") << "\n---\n";
        return yes;
    }
    void ExitProcess(int code) override {
        WriteLog();
        std::exit(code);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && RunDeleteAfterHelper(std::string(argv[1]) + " " + argv[2] + " \"" + argv[3] + "\"")) return 0;
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "remove") == 0) {
        answers = argv[2];
        messagesFile = argv[3];
        if (argc == 5) messageHoldMs = std::strtoul(argv[4], nullptr, 10);
        auto win = std::make_unique<Win32Platform>();
        AnsweredInstaller installer;
        return RemoveProgram(win->platform, installer);
    }
    if (argc < 4 || std::strcmp(argv[1], "install") != 0) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::ofstream(std::string(path) + ".started") << "started\n";
        return 0;
    }
    messagesFile = argv[2];
    logFile = argv[3];
    auto win = std::make_unique<Win32Platform>();
    ApplicationState app;
    AnsweredInstaller installer;
    installer.updateKey = BuiltInUpdateKey();
    // The check runs here, where the program runs it on a thread of its own.
    installer.startUpdateCheck = [&](const std::string& base, const std::string& folder) {
        UpdateCheck check;
        check.base = base;
        check.installFolder = folder;
        RunUpdateCheck(check, installer, win->platform.clock, nullptr);
        FinishUpdateCheck(app, win->platform, installer, check);
        // What the tray would show, for the tests (MESSAGES.tray).
        const Win32MainControls& shown = win->controls;
        std::ofstream(messagesFile + ".tray", std::ios::binary)
            << shown.trayTip << "\n" << (shown.trayGreyed ? "greyed" : "good") << "\nballoons " << shown.noticesShown << "\n";
    };
    InstallOrUpdate(app, win->platform, installer);
    WriteLog();
    return 0;
}
