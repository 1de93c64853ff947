#include "app/workers_win32.h"

#include <utility>

#include "app/main_commands.h"
#include "app/program_win32.h"
#include "base/log.h"
#include "install/self_install.h"
#include "music/mp3_folder_dialogs_win32.h"
#include "platform/worker_thread_win32.h"

namespace {

// The label's text is ANSI, and not every ANSI code page has an ellipsis.
constexpr const char* kReadingMusicText = "Reading your music folder...";
constexpr const char* kCheckingUpdateText = "Checking for updates...";
constexpr DWORD kUpdateStopWaitMs = 1000;

struct NumberedReading {
    unsigned number;
    Mp3FolderReading reading;
};

// Results that come in while the program is leaving are dropped.
bool Leaving(const Program& p) {
    return p.leftSpotify || p.exitCode >= 0;
}

void ShowWorkStatus(Program& p) {
    const Workers& w = p.workers;
    std::string text;
    if (w.checkingUpdate)
        text = w.updateVersion.empty() ? kCheckingUpdateText : "Downloading Adquell Lite " + w.updateVersion + "...";
    else if (w.readingMp3)
        text = kReadingMusicText;
    p.win32.controls.SetWorkStatus(text);
}

void TakeMp3Reading(Program& p, std::unique_ptr<NumberedReading> done) {
    Workers& w = p.workers;
    if (done->number != w.mp3Readings) return;  // a later reading has been started
    w.readingMp3 = false;
    ShowWorkStatus(p);
    if (Leaving(p)) return;
    Win32Mp3FolderDialogs dialogs(p.shell.main);
    StartMp3Reading(p, OnMp3FolderRead(*p.app, p.os, dialogs, done->reading));
}

void TakeUpdateCheck(Program& p, std::unique_ptr<UpdateCheck> check) {
    Workers& w = p.workers;
    if (w.updateThread) CloseHandle(w.updateThread);
    w.updateThread = nullptr;
    w.checkingUpdate = false;
    w.updateVersion.clear();
    ShowWorkStatus(p);
    if (Leaving(p)) return;
    FinishUpdateCheck(*p.app, p.os, p.os.installer, *check);
}

}  // namespace

void StartMp3Reading(Program& p, Mp3FolderReading reading) {
    if (reading.folder.empty()) return;
    Workers& w = p.workers;
    NumberedReading numbered{++w.mp3Readings, std::move(reading)};
    HWND main = p.shell.main;
    auto work = [main, numbered]() mutable {
        auto done = std::make_unique<NumberedReading>(std::move(numbered));
        ListMp3Files(SystemFolderListing(), done->reading.folder, done->reading.files);
        if (PostOwned(main, kMp3FolderReadMessage, done.get())) done.release();
    };
    w.readingMp3 = true;
    ShowWorkStatus(p);
    HANDLE thread = StartWorkerThread(work);
    if (thread) {
        CloseHandle(thread);
        return;
    }
    // Reading here could hold the window for as long as the folder takes.
    LogLine("Error:      Could not start reading the MP3 folder");
    w.readingMp3 = false;
    ShowWorkStatus(p);
}

void StartUpdateWorker(Program& p, const std::string& base, const std::string& installFolder) {
    Workers& w = p.workers;
    if (w.checkingUpdate) return;  // a second Alt+D while one runs
    auto stop = std::make_shared<std::atomic<bool>>(false);
    HWND main = p.shell.main;
    const std::string key = p.win32.installer.updateKey;
    UpdateCheck check;
    check.base = base;
    check.installFolder = installFolder;
    auto work = [main, key, stop, check]() mutable {
        Win32InstallerSystem files;  // the worker's own, with copies of the key and the stop
        files.updateKey = key;
        files.stopDownloads = stop.get();
        Win32Clock clock;
        RunUpdateCheck(check, files, clock, [main](const std::string& version) {
            auto text = std::make_unique<std::string>(version);
            if (PostOwned(main, kUpdateDownloadingMessage, text.get())) text.release();
        });
        auto done = std::make_unique<UpdateCheck>(std::move(check));
        if (PostOwned(main, kUpdateCheckedMessage, done.get())) done.release();
    };
    w.checkingUpdate = true;
    w.updateFolder = installFolder;
    w.updateVersion.clear();
    w.stopUpdate = stop;
    ShowWorkStatus(p);
    w.updateThread = StartWorkerThread(work);
    if (w.updateThread) return;
    // Checking here could hold the window for as long as the network takes.
    LogLine("Error:   Could not start the update check");
    w.checkingUpdate = false;
    ShowWorkStatus(p);
}

bool OnWorkerMessage(Program& p, UINT message, LPARAM lParam) {
    switch (message) {
    case kMp3FolderReadMessage:
        TakeMp3Reading(p, std::unique_ptr<NumberedReading>(reinterpret_cast<NumberedReading*>(lParam)));
        return true;
    case kUpdateDownloadingMessage: {
        std::unique_ptr<std::string> version(reinterpret_cast<std::string*>(lParam));
        if (p.workers.checkingUpdate) p.workers.updateVersion = *version;
        ShowWorkStatus(p);
        return true;
    }
    case kUpdateCheckedMessage:
        TakeUpdateCheck(p, std::unique_ptr<UpdateCheck>(reinterpret_cast<UpdateCheck*>(lParam)));
        return true;
    default:
        return false;
    }
}

void AskWorkersToStop(Program& p) {
    Workers& w = p.workers;
    if (w.checkingUpdate) *w.stopUpdate = true;
}

void StopWorkers(Program& p) {
    Workers& w = p.workers;
    if (!w.checkingUpdate) return;
    *w.stopUpdate = true;
    // A download stops at its next piece of data; a stalled server is not
    // waited for long.
    if (w.updateThread) WaitForSingleObject(w.updateThread, kUpdateStopWaitMs);
    if (w.updateVersion.empty()) return;
    for (const std::string& file : UnfinishedUpdateFiles(w.updateFolder, w.updateVersion)) DeleteFileA(file.c_str());
}
