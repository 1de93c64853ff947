// The seam to what installing, updating and removing need beyond the
// desktop: the program's own file, folders and files, INI strings, the
// user's part of the registry, downloads, message boxes, other running copies
// and the end of the process.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class InstallerSystem {
public:
    virtual ~InstallerSystem() = default;
    // The running executable's full path.
    virtual std::string RunningProgramPath() = 0;
    // False when the folder exists already or cannot be made.
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
    virtual bool CanRead(const std::string& path) = 0;
    // WritePrivateProfileStringA.
    virtual bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file) = 0;
    // The whole response of a GET stored in file; false on failure.
    virtual bool Download(const std::string& address, const std::string& file) = 0;
    // At most max bytes from the start of a file, up to a zero byte; false
    // when it cannot be opened.
    virtual bool ReadFileStart(const std::string& path, std::size_t max, std::string& bytes) = 0;
    // At most max bytes of a file, zero bytes included; false when it cannot
    // be opened or is longer.
    virtual bool ReadSmallFile(const std::string& path, std::size_t max, std::string& bytes) = 0;
    virtual bool MoveFileOver(const std::string& from, const std::string& to) = 0;
    // Deletes a file if there is one.
    virtual void RemoveFile(const std::string& path) = 0;
    // False when this build holds no key to check updates with.
    virtual bool HasUpdateKey() = 0;
    // Whether signature (r||s, ECDSA P-256 over SHA-256) was made for the
    // file's exact bytes by the holder of the built-in key.
    virtual bool VerifySignature(const std::string& file, const std::string& signature) = 0;
    // The file version a program file's version resource states ("0.5.0.0");
    // false when it states none.
    virtual bool ProgramFileVersion(const std::string& file, std::string& version) = 0;
    // Starts the update check against the server at base off the window's
    // thread (RunUpdateCheck); it ends on the window's thread
    // (FinishUpdateCheck). Ignored while one runs.
    virtual void StartUpdateCheck(const std::string& base, const std::string& installFolder) = 0;
    // A message box with no owner, an empty caption and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask(const std::string& question) = 0;

    // The names of the files (not folders) in a folder.
    virtual std::vector<std::string> FilesIn(const std::string& folder) = 0;
    // Removes a folder if it is empty.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // A file this process runs from, which cannot go while it runs: deleted,
    // with its folder if that is left empty, once the process has ended.
    virtual bool DeleteAfterExit(const std::string& path) = 0;

    // Text and number values under HKEY_CURRENT_USER.
    virtual bool WriteUserText(const std::string& key, const std::string& name, const std::string& value) = 0;
    virtual bool WriteUserNumber(const std::string& key, const std::string& name, unsigned value) = 0;
    virtual bool ReadUserText(const std::string& key, const std::string& name, std::string& value) = 0;
    virtual void DeleteUserValue(const std::string& key, const std::string& name) = 0;
    // The key and all below it.
    virtual void DeleteUserKey(const std::string& key) = 0;

    // Ends another running copy of the program, once it has left Spotify as
    // found; true when none runs any more.
    virtual bool EndRunningCopy() = 0;
    // Lets go of the program's one-instance claim, so that the copy about to
    // be started can take over.
    virtual void HandOver() = 0;
    // Claims it again when the new copy could not be started.
    virtual void TakeBack() = 0;
    // Ends the process, Spotify given back first; returns only while an end
    // already under way (a message taken meanwhile) will carry it out.
    virtual void ExitProcess(int code) = 0;
};
