#include <windows.h>

#include "platform/folder_listing.h"

namespace {

class Win32FolderListing : public FolderListing {
public:
    bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
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
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return true;
    }
    std::string RealFolder(const std::wstring& folder) override {
        // Opening a folder (links followed) needs backup semantics.
        HANDLE h = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::string();
        BY_HANDLE_FILE_INFORMATION info;
        const bool ok = GetFileInformationByHandle(h, &info) != 0;
        CloseHandle(h);
        if (!ok) return std::string();
        return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
               std::to_string(info.nFileIndexLow);
    }
};

}  // namespace

FolderListing& SystemFolderListing() {
    static Win32FolderListing listing;
    return listing;
}
