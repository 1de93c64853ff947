// Under Wine: the longest the program's main window takes to answer while it
// does slow work off its thread. Two cases: an update downloaded from a local
// server that sends about 1 KB/s, and reading a music folder of 20,000 files
// at start-up. Prints figures; asserts nothing.
//   responsiveness [--program EXE]
// The music folder case runs the program the build was told to test
// (bin\tested) unless --program names another; the update case runs the
// update copy 0.4, which takes updates signed with the tests' key.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "answer_probe.h"
#include "base/application_state.h"
#include "base/command_ids.h"
#include "child_process.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 30000;
constexpr DWORD kDownloadWatchMs = 5000;
constexpr DWORD kReadingDeadlineMs = 60000;
// After the label changes the window takes the list it was handed: watched a
// moment longer so that this work is in the figure too.
constexpr DWORD kAfterReadingMs = 1000;
constexpr int kMusicFolders = 20;
constexpr int kFilesPerFolder = 1000;
constexpr int kEveryNthIsMp3 = 50;

const char* const kReadingText = "Reading your music folder...";

struct Figure {
    bool ran = false;
    double longestMs = 0;
    long long asked = 0;
    std::string note;  // what went wrong, or what else was seen
};

// A label's text on one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string ExpandedPath(const char* text) {
    char path[MAX_PATH] = {};
    ExpandEnvironmentStringsA(text, path, MAX_PATH);
    return path;
}

// The status line: the main window's first static control.
HWND StatusLabel(HWND main) {
    return FindWindowExA(main, nullptr, "Static", nullptr);
}

// The window is up once it is shown with its controls.
bool WindowReady(HWND main) {
    return WaitUntil([&] { return IsWindowVisible(main) && StatusLabel(main) != nullptr; }, kDeadline);
}

void ForgetProgramUserState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramUserKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramUserKey);
}

// File > Exit, after the probe has stopped: leaving may block while Spotify
// is given back.
void Leave(AnswerProbe& probe, Figure& figure, HWND main, ChildProcess& program) {
    probe.Stop();
    figure.longestMs = probe.LongestMs();
    figure.asked = probe.Asked();
    PostMessageA(main, WM_COMMAND, kExitCommand, 0);
    if (program.Wait(kDeadline) == STILL_ACTIVE) figure.note += "did not end on File > Exit; ";
}

// Alt+D on the installed 0.4 copy against a server that sends 0.5 at about
// 1 KB/s: watched from Alt+D through 5 s of the download.
Figure SlowUpdateIn(const std::string& install) {
    Figure figure;
    const std::string work = ExeFolder() + "responsiveness-update";
    RemoveTree(work);
    RemoveTree(install);
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(install.c_str(), nullptr);
    ForgetProgramUserState();
    const std::string installed = install + "\\Adquell Lite.exe";
    if (!CopyFileA((ExeFolder() + "..\\update-copies\\0.4\\bin\\Adquell Lite.exe").c_str(), installed.c_str(), FALSE)) {
        figure.note = "no update copy 0.4 (build the target update_copies)";
        return figure;
    }
    const std::string web = work + "\\web";
    CreateDirectoryA(web.c_str(), nullptr);
    CreateDirectoryA((web + "\\Adquell").c_str(), nullptr);
    std::ofstream(web + "\\Adquell\\Update2.php@V=0.4", std::ios::binary) << "0.5";
    std::ofstream(web + "\\Adquell\\Adquell Lite 0.5.exe", std::ios::binary) << std::string(256 * 1024, 'x');
    // A signature that reads as one (made for another file): the download goes ahead.
    CopyFileA((ExeFolder() + "tiny_http_server.exe.sig").c_str(), (web + "\\Adquell\\Adquell Lite 0.5.exe.sig").c_str(),
              FALSE);

    SimRig rig("responsiveness-update-client");
    if (!rig.Start("track | A | B | 600000\n")) {
        figure.note = "the simulated client did not start";
        return figure;
    }
    const std::string port = std::to_string(20000 + GetCurrentProcessId() % 20000);
    ChildProcess server("tiny_http_server.exe", port + " \"" + web + "\" 250 256");  // 256 bytes every 250 ms
    if (!WaitUntil([&] { return GetFileAttributesA((web + "\\ready").c_str()) != INVALID_FILE_ATTRIBUTES; },
                   kDeadline)) {
        figure.note = "the test server did not start";
        return figure;
    }
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", ("http://127.0.0.1:" + port).c_str());
    ChildProcess program(installed, "", install);
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", nullptr);
    HWND main = WaitForWindow("Adquell", "Adquell Lite 0.4", kDeadline);
    if (!main || !WindowReady(main)) {
        figure.note = "the installed 0.4 did not start";
        return figure;
    }
    HWND status = StatusLabel(main);

    AnswerProbe probe("Adquell", "Adquell Lite 0.4");
    const DWORD pressed = GetTickCount();
    PostMessageA(main, WM_HOTKEY, kInstallHotkeyId, 0);  // Alt+D
    if (WaitUntil([&] { return WindowTitle(status) == "Downloading Adquell Lite 0.5..."; }, kDeadline)) {
        const DWORD shown = GetTickCount() - pressed;
        Sleep(kDownloadWatchMs);
        figure.ran = true;
        figure.note = "download shown " + std::to_string(shown) + " ms after Alt+D; label after 5 s: \"" +
                      OneLine(WindowTitle(status)) + "\"";
    } else {
        figure.note = "the download never showed; label: \"" + OneLine(WindowTitle(status)) + "\"; ";
    }
    Leave(probe, figure, main, program);
    server.Kill();
    rig.Close();
    return figure;
}

// The install is taken away once its processes have ended, also on failure.
Figure SlowUpdate() {
    const std::string install = ExpandedPath("%appdata%\\Adquell");
    const Figure figure = SlowUpdateIn(install);
    RemoveTree(install);
    return figure;
}

// Twenty folders of 1,000 small files, one in 50 a copy of a test tone; made
// once and kept beside the tool.
std::string BigMusicFolder() {
    const std::string music = ExeFolder() + "responsiveness-music";
    const std::string complete = music + ".complete";  // beside it: the folder holds only its 20,000
    if (GetFileAttributesA(complete.c_str()) != INVALID_FILE_ATTRIBUTES) return music;
    RemoveTree(music);
    CreateDirectoryA(music.c_str(), nullptr);
    const char* const tones[] = {"tone-a.mp3", "tone-b.mp3", "tone-c.mp3"};
    const char* const others[] = {".jpg", ".txt", ".m4a", ".nfo", ".flac"};
    const std::string small(512, 'x');
    int made = 0;
    for (int f = 0; f < kMusicFolders; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "\\Album %02d", f + 1);
        const std::string folder = music + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < kFilesPerFolder; ++i, ++made) {
            std::snprintf(name, sizeof name, "\\track %04d", i + 1);
            const std::string base = folder + name;
            if (made % kEveryNthIsMp3 == 0) {
                CopyFileA((ExeFolder() + "media\\" + tones[made / kEveryNthIsMp3 % 3]).c_str(), (base + ".mp3").c_str(),
                          FALSE);
            } else {
                std::ofstream(base + others[made % 5], std::ios::binary) << small;
            }
        }
    }
    std::ofstream(complete) << "complete\n";
    return music;
}

// Start-up with a music folder of 20,000 files and Play on: watched from the
// window's appearance until the label stops saying it reads the folder.
Figure LargeMusicFolder(const std::string& programPath) {
    Figure figure;
    const DWORD making = GetTickCount();
    const std::string music = BigMusicFolder();
    std::printf("music folder of 20,000 files ready in %lu ms\n", GetTickCount() - making);
    std::fflush(stdout);
    const std::string work = ExeFolder() + "responsiveness-work";
    RemoveTree(work);
    CreateDirectoryA(work.c_str(), nullptr);
    ForgetProgramUserState();
    std::ofstream(work + "\\Options.ini", std::ios::binary)
        << " [Options]\r\n MP3=" << music << "\r\n Play=True\r\n Mute=True\r\n";

    SimRig rig("responsiveness-music-client");
    if (!rig.Start("track | A | B | 600000\n")) {
        figure.note = "the simulated client did not start";
        return figure;
    }
    ChildProcess program(programPath, "", work);
    const std::string title = ProgramTitleOf(programPath);
    AnswerProbe probe("Adquell", title);
    HWND main = WaitForWindow("Adquell", title.c_str(), kDeadline);
    if (!main) {
        figure.note = "the program did not start";
        return figure;
    }
    const DWORD appeared = GetTickCount();
    bool sawReading = false;
    auto readingDone = [&] {
        HWND status = StatusLabel(main);
        if (!status) return false;  // the controls come a moment after the window
        const bool reading = WindowTitle(status) == kReadingText;
        sawReading = sawReading || reading;
        return !reading && IsWindowVisible(main);
    };
    // The label may not say it yet at the first look: it is looked at until
    // it has said it and stopped, or for the whole minute.
    const bool done = WaitUntil([&] { return readingDone() && sawReading; }, kReadingDeadlineMs);
    const DWORD took = GetTickCount() - appeared;
    Sleep(kAfterReadingMs);
    if (done) {
        figure.ran = true;
        figure.note = "read in " + std::to_string(took) + " ms after the window appeared; label then: \"" +
                      OneLine(WindowTitle(StatusLabel(main))) + "\"";
    } else {
        figure.ran = true;
        figure.note = sawReading ? "still reading after 60 s" : "the label never said it was reading";
    }
    Leave(probe, figure, main, program);
    rig.Close();
    return figure;
}

void Print(const char* name, const Figure& f) {
    if (f.ran && f.asked)
        std::printf("%s: longest wait for an answer %.0f ms (%lld times asked); %s\n", name, f.longestMs, f.asked,
                    f.note.c_str());
    else
        std::printf("%s: not measured: %s\n", name, f.note.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::string programPath = ExeFolder() + "tested\\Adquell Lite.exe";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--program") == 0) programPath = argv[i + 1];
    const Figure update = SlowUpdate();
    Print("slow update (1 KB/s, 5 s)", update);
    const Figure music = LargeMusicFolder(programPath);
    Print("music folder of 20,000 files", music);
    return update.ran && update.asked && music.ran && music.asked ? 0 : 1;
}
