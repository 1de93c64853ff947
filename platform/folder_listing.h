// The seam to the file system's folders: one level of a folder at a time.
// Names are wide from the listing on, so no file name is ever narrowed.
#pragma once
#include <string>
#include <vector>

struct FolderEntry {
    std::wstring name;
    bool folder = false;
    bool hidden = false;
    bool link = false;  // a folder reached through a link or junction
};

class FolderListing {
public:
    virtual ~FolderListing() = default;
    // The entries of one folder in the order the file system gives them; false
    // when the folder cannot be listed.
    virtual bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) = 0;
    // Names the real folder behind a path, links followed (volume and file
    // number on Windows, device and inode elsewhere); empty when unknown.
    virtual std::string RealFolder(const std::wstring& folder) = 0;
};

// FindFirstFileW on Windows; readdir elsewhere, where names starting with a
// dot count as hidden.
FolderListing& SystemFolderListing();
