#include <dirent.h>
#include <sys/stat.h>

#include "platform/ansi_text.h"
#include "platform/folder_listing.h"

namespace {

// Paths here are UTF-8 bytes, as the native build's code page.
class PosixFolderListing : public FolderListing {
public:
    bool List(const std::wstring& wideFolder, std::vector<FolderEntry>& entries) override {
        const std::string folder = NarrowAnsi(wideFolder);
        DIR* dir = opendir(folder.c_str());
        if (!dir) return false;
        entries.clear();
        while (dirent* d = readdir(dir)) {
            FolderEntry e;
            const std::string name = d->d_name;
            e.name = WidenAnsi(name);
            const std::string path = folder + "/" + name;
            struct stat own, target;
            if (lstat(path.c_str(), &own) != 0) continue;
            const bool isLink = S_ISLNK(own.st_mode);
            const bool ok = isLink ? stat(path.c_str(), &target) == 0 : (target = own, true);
            e.folder = ok && S_ISDIR(target.st_mode);
            e.link = isLink && e.folder;
            e.hidden = name.size() > 1 && name[0] == '.' && name != "..";
            entries.push_back(e);
        }
        closedir(dir);
        return true;
    }
    std::string RealFolder(const std::wstring& folder) override {
        struct stat s;
        if (stat(NarrowAnsi(folder).c_str(), &s) != 0) return std::string();
        return std::to_string(s.st_dev) + ":" + std::to_string(s.st_ino);
    }
};

}  // namespace

FolderListing& SystemFolderListing() {
    static PosixFolderListing listing;
    return listing;
}
