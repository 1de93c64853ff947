#include <windows.h>

#include "platform/folder_listing.h"

namespace {

class Win32FolderListing : public FolderListing {
public:
    bool List(const std::string& folder, std::vector<FolderEntry>& entries) override {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        entries.clear();
        do {
            FolderEntry e;
            e.name = data.cFileName;
            e.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            e.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            // Junctions and folder links can point back up the tree.
            e.link = e.folder && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            entries.push_back(e);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return true;
    }
};

}  // namespace

FolderListing& SystemFolderListing() {
    static Win32FolderListing listing;
    return listing;
}
