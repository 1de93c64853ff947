#include "music/mp3_index.h"

#include <vector>

#include "app/log.h"
#include "platform/ansi_text.h"
#include "settings/ini_file.h"

void IndexMp3Folder(ApplicationState& app, FolderListing& listing, const std::string& folder) {
    std::vector<FolderEntry> entries;
    if (!listing.List(folder, entries)) return;
    for (const FolderEntry& e : entries) {
        if (e.name == "." || e.name == ".." || e.hidden) continue;
        const std::string path = folder + kPathSeparator + e.name;
        if (e.folder) {
            // A linked folder may lead back to an ancestor: never follow one.
            if (!e.link) IndexMp3Folder(app, listing, path);
        } else if (e.name.find(".mp3") != std::string::npos) {
            app.mp3Files.push_back(WidenAnsi(path));
            ++app.mp3Count;
        }
    }
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
