// The list of MP3 files the filler player picks from: a chosen folder and
// every folder below it.
#pragma once
#include <string>

#include "base/application_state.h"
#include "platform/folder_listing.h"

// The user's side of choosing a folder: the shell's folder chooser and the
// message shown when a chosen folder holds no MP3 files.
class Mp3FolderDialogs {
public:
    virtual ~Mp3FolderDialogs() = default;
    // The chosen folder's path; empty when cancelled or not a file-system folder.
    virtual std::string BrowseForMp3Folder() = 0;
    virtual void ShowNoMp3Message() = 0;
};

// Appends every MP3 file under folder to mp3Files, depth first in listing
// order, and counts it in mp3Count. Hidden entries are skipped; linked folders
// (links, junctions) are followed, each real folder listed once and no deeper
// than 64 levels, so a loop ends; ".mp3" anywhere in a file name
// (case-sensitive) makes it an MP3. Paths stay wide throughout.
void IndexMp3Folder(ApplicationState& app, FolderListing& listing, const std::string& folder);

// Asks for a folder, saves it to the options file, indexes it; asks again
// while a chosen folder holds no MP3 files.
void SelectMp3Folder(ApplicationState& app, FolderListing& listing, Mp3FolderDialogs& dialogs);
