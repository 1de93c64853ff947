// Stands in for the program in the install and update tests.
//   install_driver install MESSAGES LOG   runs InstallOrUpdate; message boxes
//                                         are appended to MESSAGES instead of
//                                         shown, the log goes to LOG
//   install_driver                        (as the started copy) leaves a
//                                         marker file "<own path>.started"
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "base/log.h"
#include "install/self_install.h"
#include "platform/installer_system_win32.h"
#include "platform/signature_check_win32.h"
#include "app/win32_platform.h"

namespace {

std::string messagesFile;
std::string logFile;

void WriteLog() {
    std::ofstream(logFile, std::ios::binary) << TheDebugLog().logBacklog;
}

class AnsweredInstaller : public Win32InstallerSystem {
public:
    void ShowMessage(const std::string& text) override {
        std::ofstream(messagesFile, std::ios::binary | std::ios::app) << text << "\n---\n";
    }
    void ExitProcess(int code) override {
        WriteLog();
        std::exit(code);
    }
};

}  // namespace

int main(int argc, char** argv) {
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
    InstallOrUpdate(app, win->platform, installer);
    WriteLog();
    return 0;
}
