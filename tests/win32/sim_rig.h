// Test-side helper around the simulated Spotify client: gives it a private
// folder and a script, starts it, waits for what it records, reads its record
// and ends it (also when the test fails).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

struct SimEventLine {
    std::int64_t ms = -1;
    std::string text;
};

class SimRig {
public:
    // name: a folder of its own beside the test executable, emptied first.
    explicit SimRig(const std::string& name);
    ~SimRig();

    // Writes the script and starts the client (by default the Spotify.exe built
    // beside the tests). Returns its main window, or null after the deadline.
    HWND Start(const std::string& script, DWORD deadlineMs = 20000);
    HWND Start(const std::string& script, const std::string& exePath, DWORD deadlineMs);
    HWND MainWindow() const;

    std::vector<SimEventLine> Events() const;
    // The first recorded line containing text (searching from line 'from'),
    // waiting up to deadlineMs; ms is -1 when it never came.
    SimEventLine WaitForEvent(const std::string& text, DWORD deadlineMs, size_t from = 0) const;
    size_t EventCount() const { return Events().size(); }
    std::string Summary() const;
    // Asks the client to quit (WM_CLOSE to its main window) and waits; the
    // summary is final afterwards. False when it did not end in time.
    bool Close(DWORD deadlineMs = 10000);
    // Kills it without a chance to write anything more.
    void Kill();
    DWORD ProcessId() const;
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    std::unique_ptr<ChildProcess> process_;
};

// A left click posted as the system posts it: press, 15 ms, release, 10 ms.
void PostClick(HWND window, int x, int y);
// Waits until the window's title equals text; false after the deadline.
bool WaitForTitle(HWND window, const std::string& text, DWORD deadlineMs);
// Polls condition every 10 ms until it holds or the deadline passes; says which.
bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs);
std::string WindowTitle(HWND window);
// The window's text as Windows holds it, in Unicode (no code page between).
std::wstring WideText(HWND window);
std::string ReadTextFile(const std::string& path);
// The integer after "key=" in a line, or -1.
long long FieldOf(const std::string& line, const std::string& key);

// What a client's summary says about adverts and the tracks after them.
struct AdvertFigures {
    std::vector<long long> audibleMs;  // per advert
    int tracksAfterAdverts = 0;
    int restored = 0;                  // of those, back at the listener's volume
};
AdvertFigures ReadAdvertFigures(const std::string& summary);
long long Percentile(std::vector<long long> values, double fraction);
// CPU time a process has used, in milliseconds.
double ProcessCpuMs(HANDLE process);
