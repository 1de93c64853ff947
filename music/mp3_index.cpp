#include "music/mp3_index.h"

#include <set>
#include <vector>

#include "base/log.h"
#include "platform/ansi_text.h"
#include "settings/ini_file.h"

namespace {

constexpr int kMaxDepth = 64;

struct IndexWalk {
    std::vector<std::wstring>& files;
    FolderListing& listing;
    std::set<std::string> listed;  // real folders listed already
};

void IndexFolder(IndexWalk& walk, const std::wstring& folder, bool throughLink, int depth) {
    const std::string real = walk.listing.RealFolder(folder);
    // A folder met again through a link is not listed twice; a linked one
    // whose real folder cannot be told is not followed at all.
    if (real.empty() ? throughLink : !walk.listed.insert(real).second) return;
    std::vector<FolderEntry> entries;
    if (!walk.listing.List(folder, entries)) return;
    for (const FolderEntry& e : entries) {
        if (e.name == L"." || e.name == L".." || e.hidden) continue;
        const std::wstring path = folder + kWidePathSeparator + e.name;
        if (e.folder) {
            if (depth < kMaxDepth) IndexFolder(walk, path, e.link, depth + 1);
        } else if (e.name.find(L".mp3") != std::wstring::npos) {
            walk.files.push_back(path);
        }
    }
}

}  // namespace

void ListMp3Files(FolderListing& listing, const std::string& folder, std::vector<std::wstring>& files) {
    IndexWalk walk{files, listing, {}};
    IndexFolder(walk, WidenAnsi(folder), false, 0);
}

void IndexMp3Folder(ApplicationState& app, FolderListing& listing, const std::string& folder) {
    const std::size_t before = app.mp3Files.size();
    ListMp3Files(listing, folder, app.mp3Files);
    app.mp3Count += static_cast<std::int32_t>(app.mp3Files.size() - before);
}

Mp3FolderReading StartUpMp3Reading(const ApplicationState& app) {
    Mp3FolderReading reading;
    if (app.mp3Folder.empty()) return reading;
    LogLine("MP3:        Indexing");
    reading.folder = app.mp3Folder;
    reading.atStartUp = true;
    return reading;
}

Mp3FolderReading ChooseMp3Folder(ApplicationState& app, Mp3FolderDialogs& dialogs) {
    Mp3FolderReading reading;
    reading.folder = dialogs.BrowseForMp3Folder();
    if (reading.folder.empty()) return reading;
    // Saved before it is read, and not undone when it holds no MP3.
    CIniFile::SetValue("MP3", reading.folder, "Options", app.optionsPath);
    LogLine("MP3:        Indexing");
    return reading;
}

Mp3FolderReading TakeMp3FolderReading(ApplicationState& app, Mp3FolderDialogs& dialogs, Mp3FolderReading& reading) {
    app.mp3Files = std::move(reading.files);
    app.mp3Count = static_cast<std::int32_t>(app.mp3Files.size());
    const std::string count = std::to_string(app.mp3Count);
    if (reading.atStartUp) {
        // A saved folder that holds nothing now is only logged.
        LogLine("MP3:        Found " + count);
        return Mp3FolderReading();
    }
    if (app.mp3Count >= 1) {
        LogLine("MP3s:       " + count);
        app.mp3Folder = reading.folder;
        return Mp3FolderReading();
    }
    LogLine("MP3:        0 MP3s");
    dialogs.ShowNoMp3Message();
    app.mp3Folder.clear();
    return ChooseMp3Folder(app, dialogs);
}
