// Other processes started by a Windows-side test, ended when the test ends,
// also when it fails.
#pragma once
#include <windows.h>

#include <string>

// The folder holding the running test executable, with a trailing backslash.
std::string ExeFolder();

class ChildProcess {
public:
    // Starts program (a path, or a name in ExeFolder()) with arguments.
    ChildProcess(const std::string& program, const std::string& arguments, const std::string& workingFolder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    // Waits for the process to end; returns its exit code, or STILL_ACTIVE
    // when it did not end within timeoutMs.
    DWORD Wait(DWORD timeoutMs);
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Polls for a top-level window of that class (and title, when not null) until
// the deadline; null when none appeared.
HWND WaitForWindow(const char* windowClass, const char* title, DWORD timeoutMs);

// The main window's title of a build of the program: "Adquell Lite " and the
// version its version resource states (empty when it states none). The
// tested exe may be another version than the test build's own.
std::string ProgramTitleOf(const std::string& exe);

// Deletes a folder with everything in it (read-only and hidden files too).
void RemoveTree(const std::string& folder);
