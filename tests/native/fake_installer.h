// Files, folders and an update server, all in memory.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/installer_system.h"

class FakeInstaller : public InstallerSystem {
public:
    std::string running = "C:\\Users\\me\\Downloads\\Adquell Lite.exe";
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> lockedFolders;  // cannot be created or written into
    std::map<std::string, std::string> server;
    std::vector<std::string> iniWrites;
    std::vector<std::string> messages;
    std::vector<std::string> requests;
    std::vector<int> exits;
    int handOvers = 0;
    bool hasKey = true;
    // The signature the built-in key would make for each content.
    std::map<std::string, std::string> signatures;

    std::string RunningProgramPath() override { return running; }
    void HandOver() override { ++handOvers; }
    void TakeBack() override { --handOvers; }
    bool CreateFolder(const std::string& given) override {
        const std::string path = given.back() == '\\' ? given.substr(0, given.size() - 1) : given;
        if (lockedFolders.count(path) || folders.count(path)) return false;
        folders.insert(path);
        return true;
    }
    bool CopyFileOver(const std::string& from, const std::string& to) override {
        if (!files.count(from) || !Writable(to)) return false;
        files[to] = files[from];
        return true;
    }
    bool CanRead(const std::string& path) override { return files.count(path) != 0; }
    bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) override {
        if (!Writable(file)) return false;
        iniWrites.push_back(file + " [" + section + "] " + key + "=" + value);
        files[file] += key + "=" + value + "\n";
        return true;
    }
    bool Download(const std::string& address, const std::string& file) override {
        requests.push_back(address);
        auto it = server.find(address);
        if (it == server.end() || !Writable(file)) return false;
        files[file] = it->second;
        return true;
    }
    bool ReadFileStart(const std::string& path, std::size_t max, std::string& bytes) override {
        auto it = files.find(path);
        if (it == files.end()) return false;
        bytes = it->second.substr(0, max);
        bytes = bytes.substr(0, bytes.find('\0'));
        return true;
    }
    bool ReadSmallFile(const std::string& path, std::size_t max, std::string& bytes) override {
        auto it = files.find(path);
        if (it == files.end() || it->second.size() > max) return false;
        bytes = it->second;
        return true;
    }
    bool MoveFileOver(const std::string& from, const std::string& to) override {
        if (!files.count(from) || !Writable(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }
    bool HasUpdateKey() override { return hasKey; }
    bool VerifySignature(const std::string& file, const std::string& signature) override {
        auto it = files.find(file);
        return hasKey && it != files.end() && signatures.count(it->second) && signatures[it->second] == signature;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ExitProcess(int code) override { exits.push_back(code); }

private:
    // As the file system does: two backslashes in a row count as one.
    static std::string Folder(const std::string& file) {
        std::string f = file.substr(0, file.find_last_of('\\'));
        while (!f.empty() && f.back() == '\\') f.pop_back();
        return f;
    }
    bool Writable(const std::string& file) const {
        const std::string folder = Folder(file);
        return folders.count(folder) && !lockedFolders.count(folder);
    }
};

