#include "music/mp3_index.h"

#include <set>
#include <vector>

#include "base/log.h"
#include "platform/ansi_text.h"
#include "settings/ini_file.h"

namespace {

constexpr int kMaxDepth = 64;

struct IndexWalk {
    ApplicationState& app;
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
            walk.app.mp3Files.push_back(path);
            ++walk.app.mp3Count;
        }
    }
}

}  // namespace

void IndexMp3Folder(ApplicationState& app, FolderListing& listing, const std::string& folder) {
    IndexWalk walk{app, listing, {}};
    IndexFolder(walk, WidenAnsi(folder), false, 0);
}

void SelectMp3Folder(ApplicationState& app, FolderListing& listing, Mp3FolderDialogs& dialogs) {
    for (;;) {
        const std::string folder = dialogs.BrowseForMp3Folder();
        if (folder.empty()) return;
        CIniFile::SetValue("MP3", folder, "Options", app.optionsPath);
        app.mp3Count = 0;
        LogLine("MP3:        Indexing");
        app.mp3Files.clear();
        IndexMp3Folder(app, listing, folder);
        if (app.mp3Count >= 1) {
            LogLine("MP3s:       " + std::to_string(app.mp3Count));
            app.mp3Folder = folder;
            return;
        }
        LogLine("MP3:        0 MP3s");
        dialogs.ShowNoMp3Message();
        app.mp3Folder.clear();
    }
}
