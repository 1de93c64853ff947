#include "prefix_snapshot.h"

#include <windows.h>

namespace {

void AddFiles(const std::string& folder, std::set<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) AddFiles(folder + "\\" + name, files);
        else files.insert(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void AddKey(HKEY parent, const std::string& path, std::set<std::string>& lines) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    lines.insert(path);
    for (DWORD i = 0;; ++i) {
        char name[512] = {};
        BYTE data[2048] = {};
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        const std::string value = type == REG_SZ ? reinterpret_cast<char*>(data) : std::to_string(dataSize) + " bytes";
        lines.insert(path + "\\" + name + "=" + value);
    }
    for (DWORD i = 0;; ++i) {
        char name[512] = {};
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (path == "Software" && std::string(name) == "Wine") continue;
        AddKey(parent, path + "\\" + name, lines);
    }
    RegCloseKey(key);
}

}  // namespace

std::set<std::string> FilesBelow(const std::string& folder) {
    std::set<std::string> files;
    AddFiles(folder, files);
    return files;
}

std::set<std::string> UserRegistry() {
    std::set<std::string> lines;
    AddKey(HKEY_CURRENT_USER, "Software", lines);
    return lines;
}

std::string Expanded(const char* text) {
    char buffer[1024] = {};
    ExpandEnvironmentStringsA(text, buffer, sizeof buffer);
    return buffer;
}

std::string UserText(const char* key, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "(none)";
    return value;
}

std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    for (const std::string& line : before)
        if (!after.count(line)) return "gone: " + line;
    for (const std::string& line : after)
        if (!before.count(line)) return "new: " + line;
    return std::string();
}
