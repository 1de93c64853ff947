// The list of MP3 files the filler player picks from: a chosen folder and
// every folder below it.
#pragma once
#include <string>
#include <vector>

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

// Lists every MP3 file under folder into files, depth first in listing
// order. Hidden entries are skipped; linked folders (links, junctions) are
// followed, each real folder listed once and no deeper than 64 levels, so a
// loop ends; ".mp3" anywhere in a file name (case-sensitive) makes it an MP3.
// Paths stay wide throughout. Touches nothing else, so any thread may run it.
void ListMp3Files(FolderListing& listing, const std::string& folder, std::vector<std::wstring>& files);

// Appends every MP3 file under folder to mp3Files and counts it in mp3Count.
void IndexMp3Folder(ApplicationState& app, FolderListing& listing, const std::string& folder);

// One reading of an MP3 folder, handed whole to the thread that lists it and
// back: the folder and why it is read (in), the files found (out).
struct Mp3FolderReading {
    std::string folder;  // empty: nothing to read
    bool atStartUp = false;  // the saved folder, rather than one just chosen
    std::vector<std::wstring> files;
};

// The saved folder's reading at start-up (none without a saved folder).
Mp3FolderReading StartUpMp3Reading(const ApplicationState& app);

// Asks for a folder and saves it to the options file; returns its reading
// (none when the chooser was cancelled: nothing changes).
Mp3FolderReading ChooseMp3Folder(ApplicationState& app, Mp3FolderDialogs& dialogs);

// Takes a finished reading over: its files become the list. A chosen folder
// without MP3 files is said so, forgotten, and the chooser opens again:
// returns the reading of the folder chosen then (none when cancelled).
Mp3FolderReading TakeMp3FolderReading(ApplicationState& app, Mp3FolderDialogs& dialogs, Mp3FolderReading& reading);
