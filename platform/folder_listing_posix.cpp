#include <dirent.h>
#include <sys/stat.h>

#include "platform/folder_listing.h"

namespace {

class PosixFolderListing : public FolderListing {
public:
    bool List(const std::string& folder, std::vector<FolderEntry>& entries) override {
        DIR* dir = opendir(folder.c_str());
        if (!dir) return false;
        entries.clear();
        while (dirent* d = readdir(dir)) {
            FolderEntry e;
            e.name = d->d_name;
            const std::string path = folder + "/" + e.name;
            struct stat own, target;
            if (lstat(path.c_str(), &own) != 0) continue;
            const bool isLink = S_ISLNK(own.st_mode);
            const bool ok = isLink ? stat(path.c_str(), &target) == 0 : (target = own, true);
            e.folder = ok && S_ISDIR(target.st_mode);
            e.link = isLink && e.folder;
            e.hidden = e.name.size() > 1 && e.name[0] == '.' && e.name != "..";
            entries.push_back(e);
        }
        closedir(dir);
        return true;
    }
};

}  // namespace

FolderListing& SystemFolderListing() {
    static PosixFolderListing listing;
    return listing;
}
