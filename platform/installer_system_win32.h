// Installing and updating through kernel32, the profile API and urlmon.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "platform/installer_system.h"

// The named mutex one running copy of the program holds.
constexpr const char* kInstanceClaimName = "Adquell Lite instance";

// DeleteAfterExit's helper: a copy of the program in the temporary folder,
// opened for deletion on close and started with this switch, the handle of
// the process to wait for and the file to delete. When the copy ends, the
// system deletes it in turn.
constexpr const char* kDeleteAfterSwitch = "/delete-after";
// The main window of another running copy of the program, and its process;
// null when there is none.
HWND FindOtherRunningCopy(DWORD* process);

// What a helper started with kDeleteAfterSwitch is given: the process to wait
// for and the file to delete then.
struct DeleteAfterRequest {
    HANDLE process = nullptr;
    std::string path;
};
// Reads arguments that start with kDeleteAfterSwitch; false for any others.
bool ReadDeleteAfterRequest(const std::string& arguments, DeleteAfterRequest& request);
// Waits for the request's process to end, then deletes its file and the
// folder when left empty. Nothing at all unless the handle is a process's
// (a handle of 0 or of a file would end the wait at once).
void DeleteWhenProcessEnds(const DeleteAfterRequest& request);

class Win32InstallerSystem : public InstallerSystem {
public:
    std::string RunningProgramPath() override;
    bool CreateFolder(const std::string& path) override;
    bool CopyFileOver(const std::string& from, const std::string& to) override;
    bool CanRead(const std::string& path) override;
    bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) override;
    bool Download(const std::string& address, const std::string& file) override;
    bool ReadFileStart(const std::string& path, std::size_t max, std::string& bytes) override;
    bool ReadSmallFile(const std::string& path, std::size_t max, std::string& bytes) override;
    bool MoveFileOver(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    bool HasUpdateKey() override;
    bool VerifySignature(const std::string& file, const std::string& signature) override;
    bool ProgramFileVersion(const std::string& file, std::string& version) override;
    void StartUpdateCheck(const std::string& base, const std::string& installFolder) override;
    void ShowMessage(const std::string& text) override;
    bool Ask(const std::string& question) override;
    std::vector<std::string> FilesIn(const std::string& folder) override;
    bool RemoveFolder(const std::string& path) override;
    bool DeleteAfterExit(const std::string& path) override;
    bool WriteUserText(const std::string& key, const std::string& name, const std::string& value) override;
    bool WriteUserNumber(const std::string& key, const std::string& name, unsigned value) override;
    bool ReadUserText(const std::string& key, const std::string& name, std::string& value) override;
    void DeleteUserValue(const std::string& key, const std::string& name) override;
    void DeleteUserKey(const std::string& key) override;
    bool EndRunningCopy() override;
    void HandOver() override;
    void TakeBack() override;
    void ExitProcess(int code) override;

    std::string updateKey;             // X||Y of the key updates are signed with
    HANDLE instanceClaim = nullptr;    // the one-instance mutex, set by start-up
    std::function<void(int)> endProgram;  // the shell's one way out (gives Spotify back)
    std::function<void()> onHandOver;     // the shell lets go of what the new copy takes (tray icon)
    std::function<void()> onTakeBack;     // and takes it back
    // The shell's worker thread for the update check.
    std::function<void(const std::string& base, const std::string& installFolder)> startUpdateCheck;
    // Set: a download under way stops, and none starts.
    const std::atomic<bool>* stopDownloads = nullptr;
};
