// The seam to the file system's folders: one level of a folder at a time.
#pragma once
#include <string>
#include <vector>

struct FolderEntry {
    std::string name;
    bool folder = false;
    bool hidden = false;
    bool link = false;  // a folder reached through a link or junction
};

class FolderListing {
public:
    virtual ~FolderListing() = default;
    // The entries of one folder in the order the file system gives them; false
    // when the folder cannot be listed.
    virtual bool List(const std::string& folder, std::vector<FolderEntry>& entries) = 0;
};

// FindFirstFileA on Windows; readdir elsewhere, where names starting with a
// dot count as hidden.
FolderListing& SystemFolderListing();
