#include "child_process.h"

#include <vector>

#include "install/self_install.h"
#include "platform/installer_system_win32.h"

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments, const std::string& workingFolder) {
    std::string path = program.find_first_of("\\/:") == std::string::npos ? ExeFolder() + program : program;
    std::string commandLine = "\"" + path + "\" " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
    if (CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    Kill();
}

DWORD ChildProcess::Wait(DWORD timeoutMs) {
    if (!process_) return STILL_ACTIVE;
    // Keeps this thread's windows answering meanwhile: a child process whose
    // window was parented into one of ours waits for them as it closes.
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return STILL_ACTIVE;
        const DWORD woke = MsgWaitForMultipleObjects(1, &process_, FALSE, timeoutMs - spent, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        if (woke != WAIT_OBJECT_0 + 1) return STILL_ACTIVE;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

void ChildProcess::Kill() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

HWND WaitForWindow(const char* windowClass, const char* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(windowClass, title);
        if (window) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(20);
    }
}

std::string ProgramTitleOf(const std::string& exe) {
    Win32InstallerSystem installer;
    std::string version;
    return installer.ProgramFileVersion(exe, version) ? "Adquell Lite " + ShortVersion(version) : std::string();
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}
