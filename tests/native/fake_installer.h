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
    std::vector<std::pair<std::string, std::string>> updateChecks;  // started: base, install folder
    std::vector<int> exits;
    int handOvers = 0;
    bool hasKey = true;
    std::vector<bool> answers;             // to Ask, in order; No once they run out
    std::vector<std::string> questions;
    std::map<std::string, std::map<std::string, std::string>> registry;  // key -> name -> value
    bool otherCopyEnds = true;
    int copiesEnded = 0;
    std::vector<std::string> deletedAfterExit;
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
    void StartUpdateCheck(const std::string& base, const std::string& installFolder) override {
        updateChecks.emplace_back(base, installFolder);
    }
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
    // The running program's image cannot be deleted while it runs.
    void RemoveFile(const std::string& path) override {
        if (path != running) files.erase(path);
    }
    bool HasUpdateKey() override { return hasKey; }
    bool VerifySignature(const std::string& file, const std::string& signature) override {
        auto it = files.find(file);
        return hasKey && it != files.end() && signatures.count(it->second) && signatures[it->second] == signature;
    }
    // A program's content is "program VERSION ..."; anything else states none.
    bool ProgramFileVersion(const std::string& file, std::string& version) override {
        auto it = files.find(file);
        if (it == files.end() || it->second.rfind("program ", 0) != 0) return false;
        version = it->second.substr(8, it->second.find(' ', 8) - 8);
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool Ask(const std::string& question) override {
        questions.push_back(question);
        return questions.size() <= answers.size() && answers[questions.size() - 1];
    }
    std::vector<std::string> FilesIn(const std::string& given) override {
        const std::string folder = Trimmed(given) + "\\";
        std::vector<std::string> names;
        for (const auto& f : files)
            if (f.first.rfind(folder, 0) == 0 && f.first.find('\\', folder.size()) == std::string::npos)
                names.push_back(f.first.substr(folder.size()));
        return names;
    }
    bool RemoveFolder(const std::string& given) override {
        const std::string folder = Trimmed(given);
        if (!FilesIn(folder).empty()) return false;
        return folders.erase(folder) != 0;
    }
    bool DeleteAfterExit(const std::string& path) override {
        deletedAfterExit.push_back(path);
        return true;
    }
    bool WriteUserText(const std::string& key, const std::string& name, const std::string& value) override {
        registry[key][name] = value;
        return true;
    }
    bool WriteUserNumber(const std::string& key, const std::string& name, unsigned value) override {
        registry[key][name] = "#" + std::to_string(value);
        return true;
    }
    bool ReadUserText(const std::string& key, const std::string& name, std::string& value) override {
        if (!registry.count(key) || !registry[key].count(name)) return false;
        value = registry[key][name];
        return true;
    }
    void DeleteUserValue(const std::string& key, const std::string& name) override {
        if (registry.count(key)) registry[key].erase(name);
    }
    void DeleteUserKey(const std::string& key) override { registry.erase(key); }
    bool EndRunningCopy() override {
        ++copiesEnded;
        return otherCopyEnds;
    }
    void ExitProcess(int code) override { exits.push_back(code); }

private:
    static std::string Trimmed(const std::string& folder) {
        return !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
    }
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

